// A small HTTP server on 127.0.0.1 (a port the system chooses) for the tests of the program's
// web requests: it answers every request with the status and body set by the test and records
// the request targets. Runs on its own thread until destroyed.
#ifndef LOOPBACK_HTTP_H
#define LOOPBACK_HTTP_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace looptest {

// A socket listening on 127.0.0.1 at a port the system chooses (put in *port; 0 on failure).
inline int ListenOnLoopback(int* port) {
  *port = 0;
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  if (fd < 0 || bind(fd, (sockaddr*)&a, sizeof(a)) != 0 || listen(fd, 8) != 0) return fd;
  socklen_t len = sizeof(a);
  getsockname(fd, (sockaddr*)&a, &len);
  *port = ntohs(a.sin_port);
  return fd;
}

class LoopbackHttp {
 public:
  LoopbackHttp() {
    fd_ = ListenOnLoopback(&port_);
    if (port_) thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackHttp() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) close(fd_);
  }

  int Port() const { return port_; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

  void Answer(int status, const std::string& body) {
    std::lock_guard<std::mutex> l(mu_);
    status_ = status;
    body_ = body;
  }
  // The request targets (path and query) in the order they came.
  std::vector<std::string> Targets() {
    std::lock_guard<std::mutex> l(mu_);
    return targets_;
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      int c = accept(fd_, nullptr, nullptr);
      if (c < 0) continue;
      std::string req;
      char buf[4096];
      while (req.find("\r\n\r\n") == std::string::npos && req.size() < 65536) {
        pollfd q{c, POLLIN, 0};
        if (poll(&q, 1, 2000) <= 0) break;
        ssize_t n = recv(c, buf, sizeof(buf), 0);
        if (n <= 0) break;
        req.append(buf, (size_t)n);
      }
      int status;
      std::string body;
      {
        std::lock_guard<std::mutex> l(mu_);
        size_t sp1 = req.find(' ');
        size_t sp2 = sp1 == std::string::npos ? sp1 : req.find(' ', sp1 + 1);
        if (sp2 != std::string::npos) targets_.push_back(req.substr(sp1 + 1, sp2 - sp1 - 1));
        status = status_;
        body = body_;
      }
      std::string head = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
                         "\r\nContent-Type: text/plain\r\nContent-Length: " +
                         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
      std::string all = head + body;
      size_t sent = 0;
      while (sent < all.size()) {
        ssize_t n = send(c, all.data() + sent, all.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += (size_t)n;
      }
      close(c);
    }
  }

  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mu_;
  int status_ = 200;
  std::string body_;
  std::vector<std::string> targets_;
};

// A loopback port with nothing listening on it (bound, then closed).
inline int ClosedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, (sockaddr*)&a, sizeof(a));
  socklen_t len = sizeof(a);
  getsockname(fd, (sockaddr*)&a, &len);
  close(fd);
  return ntohs(a.sin_port);
}

// A loopback port that takes connections (the system's backlog does) and never answers them: a
// request to it waits for the client's own time limit.
class SilentServer {
 public:
  SilentServer() { fd_ = ListenOnLoopback(&port_); }
  ~SilentServer() {
    if (fd_ >= 0) close(fd_);
  }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  int fd_ = -1;
  int port_ = 0;
};

}  // namespace looptest

#endif
