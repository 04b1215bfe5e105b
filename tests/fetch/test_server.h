// SPDX-License-Identifier: MIT
// test_server.h: a small HTTP/1.1 server on the loopback interface with scripted faults, for the download tests.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace rubicel::test {

// Serves files by name with GET, byte ranges (206, 416) and 404 for unknown
// names, one request per connection. Stops when destroyed, or after ten minutes.
class TestServer {
public:
    struct Script {
        int status = 0, statusTimes = 0;  // answer status instead, this many times
        std::uint64_t cutAt = 0;          // close the connection when the body reaches this byte,
        int cuts = 0;                     // this many times
        std::uint64_t stallAt = 0;        // from this byte on send nothing and hold the connection,
        int stalls = 0;                   // this many times
        bool swapBytes = false;           // each pair of bytes swapped
        bool redirect = false;            // 302 to the same name under mirror/
    };
    struct Counts {
        int requests = 0;
        std::uint64_t bodyBytes = 0;
    };

    TestServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 16);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] {
            const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(10);
            while (!stop_ && std::chrono::steady_clock::now() < end) {
                pollfd p{listener_, POLLIN, 0};
                const int fd = ::poll(&p, 1, 50) > 0 ? ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC) : -1;
                if (fd >= 0) connections_.emplace_back([this, fd] { answer(fd), ::close(fd); });
            }
        });
    }
    ~TestServer() {
        stop_ = true;
        acceptor_.join();
        for (auto& t : connections_) t.join();
        ::close(listener_);
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    // Serves file as name; an empty path takes name away.
    void serve(const std::string& name, const std::filesystem::path& file) { serve(name, file, Script()); }
    void serve(const std::string& name, const std::filesystem::path& file, const Script& script) {
        const std::lock_guard lock(mutex_);
        if (file.empty()) files_.erase(name);
        else files_[name] = {file, script};
    }
    Counts counts(const std::string& name) {
        const std::lock_guard lock(mutex_);
        return counts_[name];
    }

private:
    void answer(int fd) {
        std::string request, target, line;
        char buffer[4096];
        for (pollfd p{fd, POLLIN, 0}; request.find("\r\n\r\n") == std::string::npos;) {
            const ssize_t n = ::poll(&p, 1, 1000) > 0 ? ::recv(fd, buffer, sizeof buffer, 0) : 0;
            if (n <= 0 || stop_) return;
            request.append(buffer, std::size_t(n));
        }
        std::istringstream in(request);
        in >> target >> target;
        std::uint64_t from = 0;
        bool ranged = false;
        while (std::getline(in, line))
            if (line.rfind("Range: bytes=", 0) == 0) from = std::stoull(line.substr(13)), ranged = true;
        const std::string name = target.substr(target.rfind('/') + 1);
        const auto send = [fd](const char* data, std::size_t size) {
            for (ssize_t n = 0; size > 0; data += n, size -= std::size_t(n))
                if ((n = ::send(fd, data, size, MSG_NOSIGNAL)) <= 0) return false;
            return true;
        };
        const auto reply = [&](const std::string& status, const std::string& headers) {
            const std::string head = "HTTP/1.1 " + status + "\r\nConnection: close\r\n" + headers + "\r\n";
            send(head.data(), head.size());
        };

        std::unique_lock lock(mutex_);
        ++counts_[name].requests;
        const auto it = files_.find(name);
        Script* s = it == files_.end() ? nullptr : &it->second.second;
        if (s && s->redirect && target.rfind("/mirror/", 0) != 0)
            return reply("302 Found", "Location: " + url() + "mirror/" + name + "\r\nContent-Length: 0\r\n");
        if (!s || s->statusTimes > 0)
            return reply(std::to_string(s ? (--s->statusTimes, s->status) : 404) + " Scripted", "Content-Length: 0\r\n");
        const int data = ::open(it->second.first.c_str(), O_RDONLY | O_CLOEXEC);
        const std::uint64_t size = std::uint64_t(::lseek(data, 0, SEEK_END));
        std::uint64_t stop = size;  // a cut or a stall ends the body here
        const bool stall = !(s->cuts > 0 && s->cutAt > from && s->cutAt < size) && s->stalls > 0 && s->stallAt < size;
        if (stall) stop = std::max(from, s->stallAt), --s->stalls;
        else if (s->cuts > 0 && s->cutAt > from && s->cutAt < size) stop = s->cutAt, --s->cuts;
        const bool swap = s->swapBytes;
        lock.unlock();

        const std::string total = std::to_string(size);
        if (ranged && from >= size) reply("416 Range Not Satisfiable", "Content-Range: bytes */" + total + "\r\n");
        else if (ranged) reply("206 Partial Content", "Content-Range: bytes " + std::to_string(from) + "-" +
                                   std::to_string(size - 1) + "/" + total + "\r\nContent-Length: " + std::to_string(size - from) + "\r\n");
        else reply("200 OK", "Content-Length: " + total + "\r\n");
        std::vector<char> chunk(1 << 16);
        bool ok = true;
        for (std::uint64_t at = from & ~std::uint64_t(1); ok && at < stop && !stop_; at += chunk.size()) {
            const std::size_t n = std::size_t(std::min<std::uint64_t>(chunk.size(), size - at));
            ok = ::pread(data, chunk.data(), n, off_t(at)) == ssize_t(n);
            for (std::size_t k = 0; swap && k + 1 < n; k += 2) std::swap(chunk[k], chunk[k + 1]);
            const std::uint64_t first = std::max(at, from), last = std::min(at + n, stop);
            ok = ok && send(chunk.data() + (first - at), std::size_t(last - first));
            const std::lock_guard count(mutex_);
            counts_[name].bodyBytes += ok ? last - first : 0;
        }
        ::close(data);
        // A stalled answer holds the connection until the client gives up.
        for (pollfd p{fd, POLLIN, 0}; stall && !stop_;)
            if (::poll(&p, 1, 50) > 0 && ::recv(fd, buffer, sizeof buffer, 0) <= 0) break;
    }

    int listener_ = -1, port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::map<std::string, std::pair<std::filesystem::path, Script>> files_;
    std::map<std::string, Counts> counts_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

}  // namespace rubicel::test
