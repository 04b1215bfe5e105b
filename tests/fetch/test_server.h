// SPDX-License-Identifier: MIT
// test_server.h: a small HTTP/1.1 server on the loopback interface with scripted faults, for the download tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rubicel::test {

// Serves files by name with GET and HEAD, byte ranges (206, 416) and 404 for
// unknown names, one request per connection. Stops when destroyed, and by
// itself after ten minutes.
class TestServer {
public:
    struct Script {
        int status = 0;            // answer this status instead ...
        int statusTimes = 0;       // ... this many times
        std::uint64_t cutAt = 0;   // close the connection when the body reaches this byte ...
        int cuts = 0;              // ... this many times
        std::uint64_t stallAt = 0; // from this byte on send nothing more, while stalls > 0
        int stalls = 0;
        bool swapBytes = false;    // serve the file with each pair of bytes swapped
        bool redirect = false;     // answer 302 to the same name under mirror/
    };
    struct Counts {
        int requests = 0;
        std::uint64_t bodyBytes = 0;
        std::vector<std::uint64_t> rangeStarts;  // of the range requests
    };

    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    std::string url() const;  // "http://127.0.0.1:PORT/"
    void serve(const std::string& name, const std::filesystem::path& file);
    void forget(const std::string& name);
    void script(const std::string& name, const Script& s);
    Counts counts(const std::string& name);

private:
    void acceptLoop();
    void answer(int fd);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::map<std::string, std::filesystem::path> files_;
    std::map<std::string, Script> scripts_;
    std::map<std::string, Counts> counts_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

}  // namespace rubicel::test
