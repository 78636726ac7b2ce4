#include "sim/rcon_listener.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>

#include <asio.hpp>

#include "sim/rcon_session.h"

namespace sim {
namespace {

using asio::ip::tcp;

// Unsent reply bytes one connection may hold before it is closed as a client that does not read.
constexpr std::size_t kMaxUnsentBytes = std::size_t{1} << 20;
// Reply bytes waiting for the socket above which a connection's input is read no further until
// they have been written: a client that pipelines commands is paced by its own reading too.
constexpr std::size_t kReadPauseBytes = std::size_t{512} << 10;
constexpr std::size_t kReadChunkBytes = 8192;
// Pause before accepting again after an accept error (for example, out of file descriptors).
constexpr auto kAcceptRetryDelay = std::chrono::milliseconds(100);

// Where replies made on any thread wait for the network thread. One per listener, shared with
// every RconReply it hands out; its mutex guards every connection's Outbox. `io` is cleared
// under the mutex when the listener starts shutting down, so from then on, and after the listener
// is gone, a reply does nothing.
struct ReplyGate {
  std::mutex mutex;
  asio::io_context* io = nullptr;
};

// Bytes waiting for one connection's socket, in the order they were made. Guarded by
// ReplyGate::mutex.
struct Outbox {
  std::string pending;
  bool flush_posted = false;
  bool closed = false;    // the connection is closed: drop everything
  bool overflow = false;  // too much unsent: the next flush closes the connection
};

class Connection;

// What a Connection needs from its listener. Outlives every handler run on the network thread.
struct ListenerCore {
  std::string password;
  RconDispatch dispatch;
  std::shared_ptr<ReplyGate> gate;
  // Open connections by number. Network thread only.
  std::unordered_map<std::uint64_t, std::shared_ptr<Connection>> connections;
};

// One client connection: its socket, its outbox and the protocol session that reads from the one
// and writes into the other. Used on the network thread only, except its Outbox. Kept alive by the
// listener's table and by its pending handlers; a closed Connection ignores every later event.
class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(ListenerCore& core, tcp::socket socket, std::uint64_t client)
      : core_(core), socket_(std::move(socket)), client_(client) {}

  // Makes the session (it needs weak_from_this, so not in the constructor) and starts reading.
  void Start();
  // Closes the socket and forgets the connection. Idempotent.
  void Close();
  // Moves what the outbox holds into the socket's write queue.
  void Flush();
  // Goes on after the session had been full: handles the input it kept, then reads on if it can.
  void Resume();

 private:
  // Starts a read unless one is under way, the session is full, or too many reply bytes wait for
  // the socket. Whatever stops it calls again when it is over (Resume, the end of a write).
  void ReadIfReady();
  void OnRead(const asio::error_code& error, std::size_t bytes);
  void Write();

  ListenerCore& core_;
  tcp::socket socket_;
  const std::uint64_t client_;
  const std::shared_ptr<Outbox> outbox_ = std::make_shared<Outbox>();
  std::optional<RconSession> session_;
  std::array<char, kReadChunkBytes> read_buffer_{};
  std::string writing_;   // bytes of the write in flight
  std::string queued_;    // bytes for the next write
  bool reading_ = false;  // a read is under way
  bool closed_ = false;
};

// Adds `bytes` to a connection's outbox and makes sure a flush is on its way to the network
// thread. Any thread.
void Enqueue(ReplyGate& gate, Outbox& outbox, const std::weak_ptr<Connection>& connection,
             std::string bytes) {
  std::lock_guard<std::mutex> lock(gate.mutex);
  if (gate.io == nullptr || outbox.closed) return;
  if (outbox.pending.size() + bytes.size() > kMaxUnsentBytes) {
    outbox.overflow = true;
    outbox.closed = true;
    std::string().swap(outbox.pending);
  } else if (outbox.pending.empty()) {
    outbox.pending = std::move(bytes);
  } else {
    outbox.pending.append(bytes);
  }
  if (!outbox.flush_posted) {
    outbox.flush_posted = true;
    asio::post(*gate.io, [connection] {
      if (auto live = connection.lock()) live->Flush();
    });
  }
}

// Has the network thread resume a connection whose session got room. Any thread.
void PostResume(ReplyGate& gate, const std::weak_ptr<Connection>& connection) {
  std::lock_guard<std::mutex> lock(gate.mutex);
  if (gate.io == nullptr) return;
  asio::post(*gate.io, [connection] {
    if (auto live = connection.lock()) live->Resume();
  });
}

void Connection::Start() {
  session_.emplace(
      client_, core_.password, core_.dispatch,
      [gate = core_.gate, outbox = outbox_, self = weak_from_this()](std::string bytes) {
        Enqueue(*gate, *outbox, self, std::move(bytes));
      },
      [gate = core_.gate, self = weak_from_this()] { PostResume(*gate, self); });
  ReadIfReady();
}

void Connection::Resume() {
  if (closed_) return;
  if (!session_->Resume()) {
    Close();
    return;
  }
  ReadIfReady();
}

void Connection::Close() {
  if (closed_) return;
  closed_ = true;
  {
    std::lock_guard<std::mutex> lock(core_.gate->mutex);
    outbox_->closed = true;
    std::string().swap(outbox_->pending);
  }
  asio::error_code ignored;
  socket_.shutdown(tcp::socket::shutdown_both, ignored);
  socket_.close(ignored);
  core_.connections.erase(client_);
}

void Connection::Flush() {
  std::string bytes;
  bool overflow = false;
  {
    std::lock_guard<std::mutex> lock(core_.gate->mutex);
    bytes.swap(outbox_->pending);
    outbox_->flush_posted = false;
    overflow = outbox_->overflow;
  }
  if (closed_) return;
  if (overflow || writing_.size() + queued_.size() + bytes.size() > kMaxUnsentBytes) {
    Close();
    return;
  }
  queued_.append(bytes);
  if (writing_.empty() && !queued_.empty()) Write();
}

void Connection::Write() {
  writing_.swap(queued_);
  asio::async_write(socket_, asio::buffer(writing_),
                    [self = shared_from_this()](const asio::error_code& error, std::size_t) {
                      if (self->closed_) return;
                      if (error) {
                        self->Close();
                        return;
                      }
                      self->writing_.clear();
                      if (!self->queued_.empty()) self->Write();
                      self->ReadIfReady();
                    });
}

void Connection::ReadIfReady() {
  if (closed_ || reading_ || session_->full() ||
      writing_.size() + queued_.size() > kReadPauseBytes) {
    return;
  }
  reading_ = true;
  socket_.async_read_some(
      asio::buffer(read_buffer_),
      [self = shared_from_this()](const asio::error_code& error, std::size_t bytes) {
        self->OnRead(error, bytes);
      });
}

void Connection::OnRead(const asio::error_code& error, std::size_t bytes) {
  reading_ = false;
  if (closed_) return;
  // End of stream, reset or anything else ends the connection; so does malformed input.
  if (error || !session_->Receive(std::string_view(read_buffer_.data(), bytes))) {
    Close();
    return;
  }
  ReadIfReady();
}

}  // namespace

class RconListener::Impl {
 public:
  Impl(std::uint16_t port, std::string password, RconDispatch dispatch);
  ~Impl();
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  std::uint16_t Port() const { return port_; }

 private:
  void Run();
  void Accept();
  void Shutdown();

  asio::io_context io_;  // declared first so that it is destroyed last
  asio::executor_work_guard<asio::io_context::executor_type> work_;
  tcp::acceptor acceptor_;
  asio::steady_timer accept_retry_;
  ListenerCore core_;
  std::uint64_t next_client_ = 1;  // network thread only
  bool stopping_ = false;          // network thread only
  std::uint16_t port_ = 0;
  std::thread thread_;
};

RconListener::Impl::Impl(std::uint16_t port, std::string password, RconDispatch dispatch)
    : work_(asio::make_work_guard(io_)), acceptor_(io_), accept_retry_(io_) {
  core_.password = std::move(password);
  core_.dispatch = std::move(dispatch);
  core_.gate = std::make_shared<ReplyGate>();
  core_.gate->io = &io_;

  const tcp::endpoint endpoint(asio::ip::address_v4::loopback(), port);
  asio::error_code error;
  acceptor_.open(endpoint.protocol(), error);
  if (!error) acceptor_.set_option(tcp::acceptor::reuse_address(true), error);
  if (!error) acceptor_.bind(endpoint, error);
  if (!error) acceptor_.listen(asio::socket_base::max_listen_connections, error);
  if (!error) port_ = acceptor_.local_endpoint(error).port();
  if (error) {
    throw std::runtime_error("rcon: cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                             error.message());
  }
  Accept();
  thread_ = std::thread([this] { Run(); });
}

RconListener::Impl::~Impl() {
  {
    std::lock_guard<std::mutex> lock(core_.gate->mutex);
    core_.gate->io = nullptr;
  }
  asio::post(io_, [this] { Shutdown(); });
  work_.reset();  // run() returns once the closed connections' handlers have drained
  thread_.join();
}

void RconListener::Impl::Run() {
  for (;;) {
    try {
      io_.run();
      return;
    } catch (...) {
      // A throwing handler must not end the network thread; go on with the next one.
    }
  }
}

void RconListener::Impl::Accept() {
  acceptor_.async_accept([this](const asio::error_code& error, tcp::socket socket) {
    if (stopping_) return;
    if (error) {
      accept_retry_.expires_after(kAcceptRetryDelay);
      accept_retry_.async_wait([this](const asio::error_code& wait_error) {
        if (!wait_error && !stopping_) Accept();
      });
      return;
    }
    asio::error_code ignored;
    socket.set_option(tcp::no_delay(true), ignored);
    const std::uint64_t client = next_client_++;
    auto connection = std::make_shared<Connection>(core_, std::move(socket), client);
    core_.connections.emplace(client, connection);
    connection->Start();
    Accept();
  });
}

void RconListener::Impl::Shutdown() {
  stopping_ = true;
  asio::error_code ignored;
  acceptor_.close(ignored);
  accept_retry_.cancel();
  auto connections = std::move(core_.connections);
  core_.connections.clear();
  for (auto& entry : connections) entry.second->Close();
}

RconListener::RconListener(std::uint16_t port, std::string password, RconDispatch dispatch)
    : impl_(std::make_unique<Impl>(port, std::move(password), std::move(dispatch))) {}

RconListener::~RconListener() = default;

std::uint16_t RconListener::Port() const {
  return impl_->Port();
}

}  // namespace sim
