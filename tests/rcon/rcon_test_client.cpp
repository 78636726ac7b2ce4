#include "rcon_test_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

namespace rcontest {
namespace {

using Clock = std::chrono::steady_clock;

void PutInt32(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  out.push_back(static_cast<char>(bits & 0xFF));
  out.push_back(static_cast<char>((bits >> 8) & 0xFF));
  out.push_back(static_cast<char>((bits >> 16) & 0xFF));
  out.push_back(static_cast<char>((bits >> 24) & 0xFF));
}

std::int32_t GetInt32(const std::string& in, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i]));
  };
  return static_cast<std::int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
}

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

std::string EncodeRaw(std::int32_t size, std::int32_t id, std::int32_t type,
                      std::string_view tail) {
  std::string out;
  PutInt32(out, size);
  PutInt32(out, id);
  PutInt32(out, type);
  out.append(tail);
  return out;
}

std::string EncodePacket(std::int32_t id, std::int32_t type, std::string_view body) {
  std::string tail(body);
  tail.push_back('\0');
  tail.push_back('\0');
  return EncodeRaw(static_cast<std::int32_t>(8 + tail.size()), id, type, tail);
}

Client::Client(std::uint16_t port, int receive_buffer_bytes) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd_ < 0) throw std::runtime_error("socket() failed");
  const int on = 1;  // small test packets must not wait for delayed acknowledgements
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (receive_buffer_bytes > 0) {
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receive_buffer_bytes, sizeof receive_buffer_bytes);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EINPROGRESS) {
      Close();
      throw std::runtime_error("connect() failed");
    }
    pollfd waiter{fd_, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    if (::poll(&waiter, 1, static_cast<int>(kReadTimeout.count())) != 1 ||
        ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
      Close();
      throw std::runtime_error("connect() did not complete");
    }
  }
}

Client::~Client() {
  Close();
}

void Client::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void Client::Shutdown() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

bool Client::Send(std::string_view bytes, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!bytes.empty()) {
    if (fd_ < 0) return false;
    const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    pollfd waiter{fd_, POLLOUT, 0};
    if (::poll(&waiter, 1, RemainingMs(deadline)) != 1) return false;
  }
  return true;
}

bool Client::SendByteByByte(std::string_view bytes, std::chrono::microseconds pause) {
  for (const char byte : bytes) {
    if (!Send(std::string_view(&byte, 1))) return false;
    std::this_thread::sleep_for(pause);
  }
  return true;
}

int Client::Fill(Clock::time_point deadline) {
  if (fd_ < 0) return 0;
  for (;;) {
    char chunk[16384];
    const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
    if (got > 0) {
      buffer_.append(chunk, static_cast<std::size_t>(got));
      received_bytes_ += static_cast<std::size_t>(got);
      return 1;
    }
    if (got == 0) return 0;
    if (errno == ECONNRESET || errno == EPIPE) return 0;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return 0;
    pollfd waiter{fd_, POLLIN, 0};
    const int ready = ::poll(&waiter, 1, RemainingMs(deadline));
    if (ready == 0) return -1;
    if (ready < 0 && errno != EINTR) return -1;
  }
}

ReadResult Client::Read(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  ReadResult result;
  for (;;) {
    if (buffer_.size() >= 4) {
      const std::int32_t size = GetInt32(buffer_, 0);
      if (size < 10 || size > 4096) {
        result.status = ReadStatus::kMalformed;
        return result;
      }
      const std::size_t total = 4 + static_cast<std::size_t>(size);
      if (buffer_.size() >= total) {
        if (buffer_[total - 1] != '\0' || buffer_[total - 2] != '\0') {
          result.status = ReadStatus::kMalformed;
          return result;
        }
        result.status = ReadStatus::kPacket;
        result.packet.id = GetInt32(buffer_, 4);
        result.packet.type = GetInt32(buffer_, 8);
        result.packet.body = buffer_.substr(12, total - 14);
        buffer_.erase(0, total);
        return result;
      }
    }
    const int filled = Fill(deadline);
    if (filled == 0) {
      result.status = ReadStatus::kClosed;
      return result;
    }
    if (filled < 0) {
      result.status = ReadStatus::kTimeout;
      return result;
    }
  }
}

bool Client::Authenticate(std::string_view password, std::int32_t id) {
  if (!SendPacket(id, kAuth, password)) return false;
  const ReadResult granted = Read();
  return granted.status == ReadStatus::kPacket && granted.packet.id == id &&
         granted.packet.type == kAuthResponse;
}

bool Client::WaitClosed(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    buffer_.clear();
    const int filled = Fill(deadline);
    if (filled == 0) return true;
    if (filled < 0) return false;
  }
}

bool Client::StaysQuiet(std::chrono::milliseconds duration) {
  const std::size_t before = received_bytes_;
  return Fill(Clock::now() + duration) < 0 && received_bytes_ == before;
}

}  // namespace rcontest
