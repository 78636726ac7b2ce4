#include "sim/rcon_session.h"

#include <utility>

#include "rcon_packet.h"

namespace sim {
namespace {

// Compares in a time that depends only on the lengths, not on where the inputs differ.
bool SamePassword(std::string_view given, std::string_view expected) {
  if (given.size() != expected.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < given.size(); ++i) {
    difference |= static_cast<unsigned char>(given[i] ^ expected[i]);
  }
  return difference == 0;
}

}  // namespace

RconSession::RconSession(std::uint64_t client, std::string password, RconDispatch dispatch,
                         RconSend send)
    : client_(client),
      password_(std::move(password)),
      dispatch_(std::move(dispatch)),
      send_(std::move(send)) {}

bool RconSession::Receive(std::string_view bytes) {
  if (closed_) return false;
  input_.append(bytes);
  std::size_t offset = 0;
  for (;;) {
    rcon::DecodeResult result = rcon::DecodePacket(std::string_view(input_).substr(offset));
    if (result.status == rcon::DecodeStatus::kNeedMore) break;
    if (result.status != rcon::DecodeStatus::kOk) {
      closed_ = true;
      std::string().swap(input_);
      return false;
    }
    offset += result.consumed;
    Handle(result.packet.id, result.packet.type, std::move(result.packet.body));
  }
  input_.erase(0, offset);
  return true;
}

void RconSession::Handle(std::int32_t id, std::int32_t type, std::string body) {
  switch (type) {
    case rcon::kTypeAuth:
      // A wrong password also ends an earlier successful authentication.
      authenticated_ = !password_.empty() && SamePassword(body, password_);
      SendPacket(authenticated_ ? id : rcon::kRefusedId, rcon::kTypeAuthResponse);
      return;
    case rcon::kTypeExecCommand:
      if (!authenticated_) {
        SendPacket(rcon::kRefusedId, rcon::kTypeAuthResponse);
        return;
      }
      try {
        dispatch_(RconRequest{client_, id, std::move(body)}, MakeReply());
      } catch (...) {
        // The dispatcher's failure is its own; the connection goes on.
      }
      return;
    default:
      return;
  }
}

void RconSession::SendPacket(std::int32_t id, std::int32_t type) {
  std::string bytes;
  rcon::AppendPacket(bytes, id, type, "");
  send_(std::move(bytes));
}

RconReply RconSession::MakeReply() const {
  return [send = send_](std::int32_t id, std::int32_t type, const std::string& body) {
    std::string bytes;
    rcon::AppendResponse(bytes, id, type, body);
    send(std::move(bytes));
  };
}

}  // namespace sim
