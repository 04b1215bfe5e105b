// SPDX-License-Identifier: MIT
// transfer.cpp: one file over HTTP(S) into NAME.part: resumed, retried with backoff, abandoned when stalled.
#include "fetch/transfer.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>

#include "common/positional_io.h"
#include "common/unique_fd.h"
#include "fetch/tile_products.h"

namespace rubicel::fetch {
namespace {

// One request and what came of it.
struct Request {
    int fd = -1;
    std::uintmax_t offset = 0;  // where the body starts in the file
    std::uintmax_t written = 0;
    std::uintmax_t size = 0, maxBytes = 0;
    CURL* curl = nullptr;
    TransferCounter* counter = nullptr;
    std::optional<std::uintmax_t> rangeStart, rangeTotal;  // of a Content-Range header
    long status = 0;
    bool started = false;
    std::string refusal;  // the body was refused for this reason
    int writeError = 0;
};

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), s.begin(), [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

std::size_t onHeader(char* data, std::size_t one, std::size_t n, void* user) {
    auto& r = *static_cast<Request*>(user);
    const std::string_view line(data, one * n);
    if (startsWithNoCase(line, "HTTP/")) {  // a new response, after a redirect
        r.rangeStart.reset();
        r.rangeTotal.reset();
    } else if (startsWithNoCase(line, "content-range:")) {
        unsigned long long start = 0, last = 0, total = 0;
        const std::string value(line.substr(14));
        if (std::sscanf(value.c_str(), " bytes %llu-%llu/%llu", &start, &last, &total) == 3) {
            r.rangeStart = start;
            r.rangeTotal = total;
        }
    }
    return one * n;
}

// Decides on the first bytes of a body whether to keep it.
bool accept(Request& r) {
    curl_easy_getinfo(r.curl, CURLINFO_RESPONSE_CODE, &r.status);
    if (r.status == 0) return true;  // a file: address gives the bytes asked for, without headers
    if (r.status == 206) {
        if (r.rangeStart != r.offset) {
            r.refusal = "the server answered the range request from another byte";
            return false;
        }
        if (r.size != 0 && r.rangeTotal && *r.rangeTotal != r.size) {
            r.refusal = "the server has " + groupedDigits(*r.rangeTotal) + " bytes, not " + groupedDigits(r.size);
            return false;
        }
        return true;
    }
    if (r.status != 200) return false;  // an error page: the status says why
    curl_off_t length = -1;
    curl_easy_getinfo(r.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (r.size != 0 && length >= 0 && std::uintmax_t(length) != r.size) {
        r.refusal = "the server has " + groupedDigits(std::uintmax_t(length)) + " bytes, not " + groupedDigits(r.size);
        return false;
    }
    // The whole file, whatever was asked: start the part again.
    if (r.offset != 0 && ::ftruncate(r.fd, 0) != 0) {
        r.writeError = errno;
        return false;
    }
    r.offset = 0;
    r.counter->have = 0;
    return true;
}

std::size_t onBody(char* data, std::size_t one, std::size_t n, void* user) {
    auto& r = *static_cast<Request*>(user);
    const std::size_t bytes = one * n;
    if (!r.started) {
        r.started = true;
        if (!accept(r)) return 0;
    }
    if (r.offset + r.written + bytes > r.maxBytes) {
        r.refusal = "the server sends more than " + groupedDigits(r.maxBytes) + " bytes";
        return 0;
    }
    const PositionalIo io = pwriteAll(r.fd, data, bytes, off_t(r.offset + r.written));
    if (io.error != 0) {
        r.writeError = io.error;
        return 0;
    }
    r.written += bytes;
    r.counter->have = r.offset + r.written;
    r.counter->received += bytes;
    return bytes;
}

enum class Next { Done, NextUrl, Retry, Stop };

struct Outcome {
    Next next;
    std::string why;
};

Outcome judge(const Request& r, CURLcode code, const char* curlError, const std::filesystem::path& part,
              const TransferSettings& settings) {
    const std::string status = "HTTP " + std::to_string(r.status);
    if (r.writeError != 0) return {Next::Stop, "cannot write " + part.string() + ": " + std::strerror(r.writeError)};
    if (!r.refusal.empty()) return {Next::Stop, r.refusal};
    if (code == CURLE_OK && (r.status == 200 || r.status == 206 || r.status == 0)) {
        const std::uintmax_t have = r.offset + r.written;
        if (r.size != 0 && have != r.size)
            return {Next::Retry, "the transfer ended after " + groupedDigits(have) + " of " + groupedDigits(r.size) + " bytes"};
        return {Next::Done, {}};
    }
    if (r.status == 404 || r.status == 410) return {Next::NextUrl, "not found (" + status + ")"};
    if (code == CURLE_FILE_COULDNT_READ_FILE) return {Next::NextUrl, "not found"};
    if (r.status == 416) return {Next::Retry, "the server refused the range from byte " + groupedDigits(r.offset) + " (" + status + ")"};
    if (r.status >= 500 || r.status == 408 || r.status == 429) return {Next::Retry, "the server answered " + status};
    if (r.status >= 400) return {Next::Stop, "the server answered " + status};
    const std::string detail = *curlError ? curlError : curl_easy_strerror(code);
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return {Next::Retry, "no data for " + std::to_string(settings.stall.count()) + " s or no connection (" + detail + ")"};
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
    case CURLE_TOO_MANY_REDIRECTS:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        return {Next::Stop, detail};
    default:
        return {Next::Retry, detail};
    }
}

}  // namespace

TransferResult download(const std::vector<std::string>& urls, const std::filesystem::path& part, std::uintmax_t size,
                        std::uintmax_t maxBytes, const TransferSettings& settings, TransferCounter& counter) {
    TransferResult result;
    UniqueFd file(::open(part.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    const int fd = file.get();
    if (!file) {
        result.error = "cannot write " + part.string() + ": " + std::strerror(errno);
        return result;
    }
    CURL* curl = curl_easy_init();
    if (!curl) {
        result.error = "cannot start a transfer";
        return result;
    }
    std::size_t urlIndex = 0;
    std::vector<std::string> notFound;
    auto pause = settings.backoff;
    for (int attempt = 1;;) {
        Request r;
        r.fd = fd;
        r.curl = curl;
        r.counter = &counter;
        r.size = size;
        r.maxBytes = maxBytes;
        struct stat info {};
        if (::fstat(fd, &info) != 0) info.st_size = 0;
        r.offset = std::uintmax_t(info.st_size);
        // Without a known size, or with more than it, nothing of what is there can be kept.
        if ((size == 0 || r.offset > size) && r.offset != 0) {
            if (::ftruncate(fd, 0) != 0) r.writeError = errno;
            r.offset = 0;
        }
        counter.have = r.offset;
        result.url = urls[urlIndex];
        if (size != 0 && r.offset == size) {  // whole already; the checks will tell
            result.ok = true;
            break;
        }
        char curlError[CURL_ERROR_SIZE] = "";
        const std::string range = std::to_string(r.offset) + "-";
        curl_easy_reset(curl);
        curl_easy_setopt(curl, CURLOPT_URL, result.url.c_str());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,file");
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "rubicel-fetch");
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(settings.connectTimeout.count()));
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(settings.stall.count()));
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, curlError);
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, &r);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &r);
        if (r.offset != 0) curl_easy_setopt(curl, CURLOPT_RANGE, range.c_str());
        const CURLcode code = r.writeError ? CURLE_WRITE_ERROR : curl_easy_perform(curl);
        if (r.status == 0) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &r.status);
        const Outcome outcome = judge(r, code, curlError, part, settings);
        if (outcome.next == Next::Done) {
            result.ok = true;
            break;
        }
        if (outcome.next == Next::NextUrl) {
            notFound.push_back(result.url);
            if (++urlIndex < urls.size()) continue;
            result.error = outcome.why;
            if (notFound.size() > 1) result.error += "; also tried " + notFound.front();
            break;
        }
        if (r.status == 416 && ::ftruncate(fd, 0) != 0) r.writeError = errno;  // start again from the first byte
        if (outcome.next == Next::Stop || attempt >= settings.attempts) {
            result.error = outcome.why;
            if (outcome.next == Next::Retry) result.error += " (after " + std::to_string(attempt) + " attempts)";
            break;
        }
        ++attempt;
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::milliseconds>(pause * 2, std::chrono::minutes(1));
    }
    curl_easy_cleanup(curl);
    if (file.close() != 0 && result.ok) {
        result.ok = false;
        result.error = "cannot write " + part.string() + ": " + std::strerror(errno);
    }
    return result;
}

}  // namespace rubicel::fetch
