// SPDX-License-Identifier: MIT
// test_server.cpp: a small HTTP/1.1 server on the loopback interface with scripted faults, for the download tests.
#include "fetch/test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <stdexcept>

namespace rubicel::test {
namespace {

bool sendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

}  // namespace

TestServer::TestServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on the loopback interface");
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

TestServer::~TestServer() {
    stop_ = true;
    acceptor_.join();
    for (auto& t : connections_) t.join();
    ::close(listener_);
}

std::string TestServer::url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

void TestServer::serve(const std::string& name, const std::filesystem::path& file) {
    const std::lock_guard lock(mutex_);
    files_[name] = file;
}

void TestServer::forget(const std::string& name) {
    const std::lock_guard lock(mutex_);
    files_.erase(name);
    scripts_.erase(name);
}

void TestServer::script(const std::string& name, const Script& s) {
    const std::lock_guard lock(mutex_);
    scripts_[name] = s;
}

TestServer::Counts TestServer::counts(const std::string& name) {
    const std::lock_guard lock(mutex_);
    return counts_[name];
}

void TestServer::acceptLoop() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    while (!stop_ && std::chrono::steady_clock::now() < end) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) connections_.emplace_back([this, fd] { answer(fd); ::close(fd); });
    }
}

void TestServer::answer(int fd) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        pollfd p{fd, POLLIN, 0};
        if (stop_ || ::poll(&p, 1, 1000) <= 0) return;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, std::size_t(n));
    }
    std::istringstream in(request);
    std::string method, target, line;
    in >> method >> target;
    std::uint64_t from = 0;
    bool ranged = false;
    while (std::getline(in, line))
        if (line.rfind("Range: bytes=", 0) == 0 || line.rfind("range: bytes=", 0) == 0) {
            from = std::stoull(line.substr(13));
            ranged = true;
        }
    const std::string name = target.substr(target.rfind('/') + 1);
    const auto reply = [fd](const std::string& head) { return sendAll(fd, head.data(), head.size()); };

    std::unique_lock lock(mutex_);
    Counts& counts = counts_[name];
    ++counts.requests;
    if (ranged) counts.rangeStarts.push_back(from);
    Script& s = scripts_[name];
    const auto file = files_.find(name);
    if (s.redirect && target.rfind("/mirror/", 0) != 0) {
        reply("HTTP/1.1 302 Found\r\nLocation: " + url() + "mirror/" + name + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return;
    }
    if (s.statusTimes > 0 || file == files_.end()) {
        const int status = s.statusTimes > 0 ? s.status : 404;
        if (s.statusTimes > 0) --s.statusTimes;
        reply("HTTP/1.1 " + std::to_string(status) + " Scripted\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot here\n");
        return;
    }
    const int data = ::open(file->second.c_str(), O_RDONLY | O_CLOEXEC);
    const std::uint64_t size = std::uint64_t(::lseek(data, 0, SEEK_END));
    if (ranged && from >= size) {
        ::close(data);
        reply("HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */" + std::to_string(size) + "\r\nConnection: close\r\n\r\n");
        return;
    }
    std::uint64_t stop = size;  // the body ends, by a cut or a stall, before here
    bool stall = false;
    if (s.cuts > 0 && s.cutAt > from && s.cutAt < size) stop = s.cutAt, --s.cuts;
    else if (s.stalls > 0 && s.stallAt < size) stop = std::max(from, s.stallAt), stall = true, --s.stalls;
    const bool swap = s.swapBytes;
    lock.unlock();

    std::string head = ranged ? "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " + std::to_string(from) + "-" +
                                    std::to_string(size - 1) + "/" + std::to_string(size) + "\r\n"
                              : "HTTP/1.1 200 OK\r\n";
    head += "Content-Length: " + std::to_string(size - from) + "\r\nConnection: close\r\n\r\n";
    bool ok = reply(head);
    std::vector<char> chunk(1 << 16);
    for (std::uint64_t at = from & ~std::uint64_t(1); ok && method == "GET" && at < stop && !stop_;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(chunk.size(), size - at));
        if (::pread(data, chunk.data(), n, off_t(at)) != ssize_t(n)) break;
        if (swap)
            for (std::size_t k = 0; k + 1 < n; k += 2) std::swap(chunk[k], chunk[k + 1]);
        const std::uint64_t first = std::max(at, from), last = std::min(at + n, stop);
        ok = sendAll(fd, chunk.data() + (first - at), std::size_t(last - first));
        if (ok) {
            const std::lock_guard count(mutex_);
            counts_[name].bodyBytes += last - first;
        }
        at += n;
    }
    ::close(data);
    // A stalled answer holds the connection open until the client gives up.
    while (stall && !stop_) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0 && ::recv(fd, buffer, sizeof buffer, 0) <= 0) break;
    }
}

}  // namespace rubicel::test
