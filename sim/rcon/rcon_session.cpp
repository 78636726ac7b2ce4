#include "sim/rcon_session.h"

#include <algorithm>
#include <atomic>
#include <memory>
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

// The count of a session's waiting commands, shared with the replies it hands out.
struct RconSession::Waiting {
  Waiting(std::size_t limit, RconRoom room) : limit(limit), room(std::move(room)) {}

  // One more command waits. The session's thread.
  void Add() { count.fetch_add(1); }
  // A command is answered; the session gets room when it was full. Any thread.
  void Answered() {
    if (count.fetch_sub(1) == limit && room) room();
  }

  const std::size_t limit;
  const RconRoom room;
  std::atomic<std::size_t> count{0};
};

namespace {

// Held by every copy of one command's reply; the last copy's destruction answers the command.
class Ticket {
 public:
  explicit Ticket(std::function<void()> answered) : answered_(std::move(answered)) {}
  ~Ticket() { answered_(); }
  Ticket(const Ticket&) = delete;
  Ticket& operator=(const Ticket&) = delete;

 private:
  std::function<void()> answered_;
};

}  // namespace

RconSession::RconSession(std::uint64_t client, std::string password, RconDispatch dispatch,
                         RconSend send, RconRoom room, std::size_t max_waiting)
    : client_(client),
      password_(std::move(password)),
      dispatch_(std::move(dispatch)),
      send_(std::move(send)),
      waiting_(std::make_shared<Waiting>(std::max<std::size_t>(max_waiting, 1), std::move(room))) {}

std::size_t RconSession::waiting() const {
  return waiting_->count.load();
}

bool RconSession::full() const {
  return waiting() >= waiting_->limit;
}

bool RconSession::Receive(std::string_view bytes) {
  if (closed_) return false;
  input_.append(bytes);
  return HandleBuffered();
}

bool RconSession::Resume() {
  if (closed_) return false;
  return HandleBuffered();
}

bool RconSession::HandleBuffered() {
  std::size_t offset = 0;
  while (!full()) {
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

RconReply RconSession::MakeReply() {
  waiting_->Add();
  auto ticket = std::make_shared<const Ticket>([waiting = waiting_] { waiting->Answered(); });
  return [send = send_, ticket = std::move(ticket)](std::int32_t id, std::int32_t type,
                                                    const std::string& body) {
    std::string bytes;
    rcon::AppendResponse(bytes, id, type, body);
    send(std::move(bytes));
  };
}

}  // namespace sim
