// SPDX-License-Identifier: MIT
// csv_reader.cpp: records of comma-separated text, one at a time, quoted fields included.
#include "places/csv_reader.h"

#include <algorithm>

namespace rubicel {

CsvReader::CsvReader(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF")) at_ = 3;
}

bool CsvReader::next(std::vector<std::string>& fields) {
    fields.clear();
    error_.clear();
    if (at_ >= text_.size()) return false;
    recordLine_ = line_;
    std::string field;
    for (;;) {
        if (at_ < text_.size() && text_[at_] == '"') {
            // A quoted field runs to the quote not doubled; it may span lines.
            ++at_;
            for (;;) {
                const std::size_t quote = text_.find('"', at_);
                if (quote == std::string_view::npos) {
                    error_ = "a quoted field opened on line " + std::to_string(recordLine_) + " is not closed";
                    at_ = text_.size();
                    return false;
                }
                const std::string_view part = text_.substr(at_, quote - at_);
                line_ += int(std::count(part.begin(), part.end(), '\n'));
                field.append(part);
                at_ = quote + 1;
                if (at_ < text_.size() && text_[at_] == '"') {
                    field += '"';
                    ++at_;
                } else {
                    break;
                }
            }
            if (at_ < text_.size() && text_[at_] != ',' && text_[at_] != '\n' && text_[at_] != '\r') {
                error_ = "line " + std::to_string(line_) + ": text after the closing quote of a field";
                at_ = text_.size();
                return false;
            }
        } else {
            std::size_t end = at_;
            while (end < text_.size() && text_[end] != ',' && text_[end] != '\n' && text_[end] != '\r') ++end;
            field.append(text_.substr(at_, end - at_));
            at_ = end;
        }
        fields.push_back(std::move(field));
        field.clear();
        if (at_ >= text_.size()) return true;
        const char c = text_[at_++];
        if (c == ',') continue;
        if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
        ++line_;
        return true;
    }
}

int columnOf(const std::vector<std::string>& header, std::string_view name) {
    const auto it = std::find(header.begin(), header.end(), name);
    return it == header.end() ? -1 : int(it - header.begin());
}

}  // namespace rubicel
