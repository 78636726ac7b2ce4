// A blocking Source RCON client over a plain POSIX socket, for the listener tests. Its framing is
// written apart from the listener's so that the tests do not check the codec against itself.
// Every wait is bounded by a timeout, so a test can fail but never hang. One thread at a time,
// except that one thread may Send while another reads.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rcontest {

inline constexpr std::int32_t kAuth = 3;
inline constexpr std::int32_t kAuthResponse = 2;
inline constexpr std::int32_t kExecCommand = 2;
inline constexpr std::int32_t kResponseValue = 0;

inline constexpr std::chrono::milliseconds kReadTimeout{5000};

struct Packet {
  std::int32_t id = 0;
  std::int32_t type = 0;
  std::string body;
};

// A well-formed packet.
std::string EncodePacket(std::int32_t id, std::int32_t type, std::string_view body);
// Any packet: the given size field, id and type, then `tail` verbatim (terminators included).
std::string EncodeRaw(std::int32_t size, std::int32_t id, std::int32_t type, std::string_view tail);

enum class ReadStatus {
  kPacket,     // `packet` holds the next packet
  kClosed,     // the server closed the connection (end of stream or reset)
  kTimeout,    // nothing complete arrived in time
  kMalformed,  // the server sent something that is not a valid packet
};

struct ReadResult {
  ReadStatus status = ReadStatus::kTimeout;
  Packet packet;
};

class Client {
 public:
  // Connects to 127.0.0.1:port. A non-zero receive_buffer_bytes sets SO_RCVBUF before
  // connecting. Throws std::runtime_error when it cannot connect within the timeout.
  explicit Client(std::uint16_t port, int receive_buffer_bytes = 0);
  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  // Writes all of `bytes`; false when the connection is gone or the write timed out.
  bool Send(std::string_view bytes, std::chrono::milliseconds timeout = kReadTimeout);
  // Writes `bytes` one byte per write, pausing `pause` between them.
  bool SendByteByByte(std::string_view bytes, std::chrono::microseconds pause);
  bool SendPacket(std::int32_t id, std::int32_t type, std::string_view body) {
    return Send(EncodePacket(id, type, body));
  }

  ReadResult Read(std::chrono::milliseconds timeout = kReadTimeout);
  // Sends AUTH and checks the one packet a successful authentication gives.
  bool Authenticate(std::string_view password, std::int32_t id = 1);
  // Reads and discards until the server closes; false when it is still open at the timeout.
  bool WaitClosed(std::chrono::milliseconds timeout = kReadTimeout);
  // True when nothing arrives and the connection stays open for `duration`.
  bool StaysQuiet(std::chrono::milliseconds duration);
  // Bytes received so far, packets and discarded bytes alike.
  std::size_t received_bytes() const { return received_bytes_; }
  // Closes the socket now (the destructor does it too).
  void Close();
  // Shuts both directions of the connection down, ending a Send or Read under way on another
  // thread; the socket stays open until Close.
  void Shutdown();

 private:
  // Waits for and receives some bytes into buffer_: 1 data, 0 closed, -1 timeout.
  int Fill(std::chrono::steady_clock::time_point deadline);

  int fd_ = -1;
  std::string buffer_;
  std::size_t received_bytes_ = 0;
};

}  // namespace rcontest
