// SPDX-License-Identifier: MIT
// csv_reader.h: records of comma-separated text, one at a time, quoted fields included.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rubicel {

// Reads comma-separated text record by record: fields are separated by commas
// and records by LF or CRLF; a field in double quotes may hold commas, line
// breaks and "" for one quote. A UTF-8 byte-order mark before the first record
// is skipped. The text must outlive the reader.
class CsvReader {
public:
    explicit CsvReader(std::string_view text);

    // Reads the next record into fields. False at the end of the text, and on
    // a quote left open or text after a closing quote: error() then says which.
    bool next(std::vector<std::string>& fields);

    // The line the record read last begins on, from 1.
    int line() const { return recordLine_; }
    // Empty unless the last next() failed on malformed text.
    const std::string& error() const { return error_; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
    int recordLine_ = 0;
    std::string error_;
};

// The position of column name in a header record, or -1.
int columnOf(const std::vector<std::string>& header, std::string_view name);

}  // namespace rubicel
