#pragma once
// The catalogue's web site for the tests: a small HTTP/1.0 server on 127.0.0.1 with documents
// from memory, one thread per connection. WinInet reaches it as the proxy of the test prefix.
// An https request arrives as "CONNECT www.kestrune.example:443": the server tunnels it to the
// TLS end that tls_site.py runs (TELLARO_TLS_PORT), which speaks TLS with the chosen
// certificate and hands the decrypted request back here as "GET /path". The one plain request
// expected is the test authority's revocation list (TELLARO_TLS_CRL), which the system fetches
// to check the site's certificate. Anything else (another plain "GET http://...", another
// host, a cookie or credentials sent along) is noted as strange. It stops after a bounded number of connections or when destroyed, and
// every wait of its own is bounded.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
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
    // > 0: the whole answer, head included, goes out one byte at a time this far apart.
    DWORD dripMs = 0;
    // The Content-Length announced; -1 announces the body's own length.
    long long declaredLength = -1;
  };

  explicit LoopbackHttpServer(int maxConnections = 400) : maxConnections_(maxConnections) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    if (const char* tls = std::getenv("TELLARO_TLS_PORT")) tlsPort_ = std::atoi(tls);
    if (const char* crl = std::getenv("TELLARO_TLS_CRL")) {
      std::ifstream file(crl, std::ios::binary);
      crl_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // an ephemeral port
    int length = sizeof address;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~LoopbackHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (std::thread& connection : connections_) connection.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
  }
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // 0 when the server could not start; TlsReady is false outside tls_site.py.
  int Port() const { return port_; }
  bool TlsReady() const { return tlsPort_ > 0; }

  // What a path answers; a path without a document answers 404.
  void Serve(const std::string& path, std::string body, int status = 200) {
    Document document;
    document.status = status;
    document.body = std::move(body);
    Serve(path, std::move(document));
  }
  void Serve(const std::string& path, Document document) {
    std::lock_guard<std::mutex> lock(mutex_);
    documents_[path] = std::move(document);
  }
  void Remove(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    documents_.erase(path);
  }
  // Runs on a connection's thread while the request for `path` is being answered.
  void OnRequest(const std::string& path, std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    hooks_[path] = std::move(hook);
  }
  // The certificate the TLS end shows from now on: "site" (signed by the test authority for
  // www.kestrune.example), "wrongname" (signed by it for another host) or "selfsigned".
  void UseCertificate(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    certificate_ = name;
  }

  // The paths requested over TLS so far, in order; TakeRequests also forgets them.
  std::vector<std::string> TakeRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> taken;
    taken.swap(requests_);
    return taken;
  }
  // Requests that did not go to the catalogue's site over TLS, or carried what they must not.
  std::vector<std::string> StrangeRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return strange_;
  }

 private:
  static constexpr char kTunnelTarget[] = "www.kestrune.example:443";
  static constexpr char kCrlRequest[] = "GET http://crl.kestrune.example/authority.crl ";

  void Run() {
    int accepted = 0;
    while (!stop_ && accepted < maxConnections_) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(listener_, &readable);
      timeval wait{0, 100000};
      if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      ++accepted;
      connections_.emplace_back([this, client] {
        Answer(client);
        closesocket(client);
      });
    }
  }

  void Note(std::vector<std::string>* list, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    list->push_back(text);
  }

  // Bytes until the blank line that ends the head, waiting at most 10 s for each piece.
  static bool ReadHead(SOCKET client, std::string* head) {
    const DWORD timeout = 10000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    char piece[2048];
    while (head->find("\r\n\r\n") == std::string::npos) {
      if (head->size() > 65536) return false;
      const int got = recv(client, piece, sizeof piece, 0);
      if (got <= 0) return false;
      head->append(piece, static_cast<size_t>(got));
    }
    return true;
  }

  static bool HasHeader(const std::string& head, const std::string& name) {
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower.find("\r\n" + name + ":") != std::string::npos;
  }

  void Answer(SOCKET client) {
    std::string head;
    if (!ReadHead(client, &head)) return;
    const std::string line = head.substr(0, head.find("\r\n"));
    if (line.compare(0, 8, "CONNECT ") == 0) {
      const std::string target = line.substr(8, line.find(' ', 8) - 8);
      if (target != kTunnelTarget || !TlsReady()) {
        Note(&strange_, line);
        SendAll(client, "HTTP/1.0 502 Bad Gateway\r\n\r\n");
        return;
      }
      Tunnel(client);
      return;
    }
    if (line.compare(0, sizeof kCrlRequest - 1, kCrlRequest) == 0 && !crl_.empty()) {
      SendAll(client, "HTTP/1.0 200 OK\r\nContent-Type: application/pkix-crl\r\nContent-Length: " +
                          std::to_string(crl_.size()) + "\r\nConnection: close\r\n\r\n" + crl_);
      return;
    }
    // Through the tunnel a request names only its path.
    if (line.compare(0, 5, "GET /") != 0) {
      Note(&strange_, line);
      SendAll(client, "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n");
      return;
    }
    for (const char* header : {"cookie", "authorization"})
      if (HasHeader(head, header)) Note(&strange_, line + " with " + header);
    const std::string path = line.substr(4, line.find(' ', 4) - 4);
    Document document{404, "not here"};
    std::function<void()> hook;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(path);
      const auto found = documents_.find(path);
      if (found != documents_.end()) document = found->second;
      const auto hooked = hooks_.find(path);
      if (hooked != hooks_.end()) hook = hooked->second;
    }
    if (hook) hook();
    const long long length =
        document.declaredLength >= 0 ? document.declaredLength : static_cast<long long>(document.body.size());
    const std::string answer = "HTTP/1.0 " + std::to_string(document.status) +
                               (document.status == 200 ? " OK" : " Not Found") +
                               "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                               std::to_string(length) + "\r\nConnection: close\r\n\r\n" + document.body;
    if (document.dripMs == 0) {
      SendAll(client, answer);
    } else {
      for (size_t i = 0; i < answer.size() && !stop_; ++i) {
        if (send(client, &answer[i], 1, 0) != 1) break;  // the client gave up
        Sleep(document.dripMs);
      }
    }
    shutdown(client, SD_SEND);
  }

  // Relays bytes between the client and the TLS end until either side closes.
  void Tunnel(SOCKET client) {
    SOCKET tls = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(tlsPort_));
    std::string certificate;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      certificate = certificate_;
    }
    if (tls == INVALID_SOCKET || connect(tls, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        !SendAll(tls, "UPSTREAM " + std::to_string(port_) + " " + certificate + "\n") ||
        !SendAll(client, "HTTP/1.0 200 Connection established\r\n\r\n")) {
      if (tls != INVALID_SOCKET) closesocket(tls);
      return;
    }
    char piece[16384];
    bool open = true;
    while (open && !stop_) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(client, &readable);
      FD_SET(tls, &readable);
      timeval wait{0, 100000};
      if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
      for (const auto& [from, to] : {std::make_pair(client, tls), std::make_pair(tls, client)}) {
        if (!open || !FD_ISSET(from, &readable)) continue;
        const int got = recv(from, piece, sizeof piece, 0);
        open = got > 0 && SendAll(to, std::string(piece, static_cast<size_t>(got)));
      }
    }
    closesocket(tls);
  }

  bool SendAll(SOCKET to, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size() && !stop_) {
      const int chunk = static_cast<int>(std::min<size_t>(bytes.size() - sent, 65536));
      const int done = send(to, bytes.data() + sent, chunk, 0);
      if (done <= 0) return false;  // the other side gave up (an over-long body)
      sent += static_cast<size_t>(done);
    }
    return sent == bytes.size();
  }

  const int maxConnections_;
  int tlsPort_ = 0;
  std::string crl_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::vector<std::thread> connections_;  // only the accepting thread adds to it
  std::mutex mutex_;
  std::string certificate_ = "site";
  std::map<std::string, Document> documents_;
  std::map<std::string, std::function<void()>> hooks_;
  std::vector<std::string> requests_;
  std::vector<std::string> strange_;
};
