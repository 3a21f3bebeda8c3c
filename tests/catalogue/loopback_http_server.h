#pragma once
// A tiny HTTP/1.0 server on 127.0.0.1 for the catalogue's downloads: one thread, one request
// per connection, documents from memory. WinInet reaches it as the proxy of the test prefix,
// so requests arrive as "GET http://host/path HTTP/1.x" and are served by their path. It
// stops after a bounded number of requests or when it is destroyed.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
 public:
  struct Document {
    int status = 200;
    std::string body;
  };

  explicit LoopbackHttpServer(int maxRequests = 200) : maxRequests_(maxRequests) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // an ephemeral port
    int length = sizeof address;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~LoopbackHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
  }
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int Port() const { return port_; }

  // What a path answers; a path without a document answers 404.
  void Serve(const std::string& path, std::string body, int status = 200) {
    std::lock_guard<std::mutex> lock(mutex_);
    documents_[path] = Document{status, std::move(body)};
  }
  void Remove(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    documents_.erase(path);
  }
  // Runs on the server thread while the request for `path` is being answered.
  void OnRequest(const std::string& path, std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    hooks_[path] = std::move(hook);
  }

  // The paths requested so far, in order; TakeRequests also forgets them.
  std::vector<std::string> TakeRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> taken;
    taken.swap(requests_);
    return taken;
  }
  // Request lines that did not name a host of the catalogue through the proxy.
  std::vector<std::string> StrangeRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return strange_;
  }

 private:
  void Run() {
    int served = 0;
    while (!stop_ && served < maxRequests_) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(listener_, &readable);
      timeval wait{0, 100000};
      if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      Answer(client);
      closesocket(client);
      ++served;
    }
  }

  void Answer(SOCKET client) {
    std::string request;
    char piece[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
      const int got = recv(client, piece, sizeof piece, 0);
      if (got <= 0) return;
      request.append(piece, static_cast<size_t>(got));
    }
    const std::string line = request.substr(0, request.find("\r\n"));
    // "GET http://www.kestrune.example[:80]/path HTTP/1.1": the path after the host.
    std::string path;
    for (const std::string proxied : {"GET http://www.kestrune.example/", "GET http://www.kestrune.example:80/"}) {
      if (line.compare(0, proxied.size(), proxied) != 0) continue;
      path = line.substr(proxied.size() - 1);
      path = path.substr(0, path.find(' '));
    }
    Document document{404, "not here"};
    std::function<void()> hook;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (path.empty()) strange_.push_back(line);
      requests_.push_back(path);
      const auto found = documents_.find(path);
      if (found != documents_.end()) document = found->second;
      const auto hooked = hooks_.find(path);
      if (hooked != hooks_.end()) hook = hooked->second;
    }
    if (hook) hook();
    const std::string head = "HTTP/1.0 " + std::to_string(document.status) +
                             (document.status == 200 ? " OK" : " Not Found") +
                             "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                             std::to_string(document.body.size()) + "\r\nConnection: close\r\n\r\n";
    SendAll(client, head);
    SendAll(client, document.body);
    shutdown(client, SD_SEND);
  }

  static void SendAll(SOCKET client, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      const int chunk = static_cast<int>(std::min<size_t>(bytes.size() - sent, 65536));
      const int done = send(client, bytes.data() + sent, chunk, 0);
      if (done <= 0) return;  // the client gave up (an over-long body)
      sent += static_cast<size_t>(done);
    }
  }

  const int maxRequests_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::map<std::string, Document> documents_;
  std::map<std::string, std::function<void()>> hooks_;
  std::vector<std::string> requests_;
  std::vector<std::string> strange_;
};
