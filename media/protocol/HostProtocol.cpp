#include "media/protocol/HostProtocol.h"

#include <array>
#include <charconv>

namespace hostproto {

namespace {
constexpr std::array<std::pair<Failure, std::string_view>, 8> failureWords{{
    {Failure::NotFound, "notfound"},
    {Failure::CannotRead, "cannotread"},
    {Failure::NotMedia, "notmedia"},
    {Failure::NoDecoder, "nodecoder"},
    {Failure::Playback, "playback"},
    {Failure::Stalled, "stalled"},
    {Failure::OutOfRange, "outofrange"},
    {Failure::BadRequest, "badrequest"},
}};
constexpr std::array<std::pair<Mode, std::string_view>, 3> modeWords{{
    {Mode::Stop, "stop"},
    {Mode::Play, "play"},
    {Mode::Pause, "pause"},
}};
} // namespace

std::string_view failureWord(Failure f) {
    for (const auto& [value, word] : failureWords)
        if (value == f) return word;
    return "badrequest";
}

std::optional<Failure> failureFromWord(std::string_view word) {
    for (const auto& [value, w] : failureWords)
        if (w == word) return value;
    return std::nullopt;
}

std::string_view modeWord(Mode m) {
    for (const auto& [value, word] : modeWords)
        if (value == m) return word;
    return "stop";
}

std::optional<Mode> modeFromWord(std::string_view word) {
    for (const auto& [value, w] : modeWords)
        if (w == word) return value;
    return std::nullopt;
}

std::string hexEncode(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 0xf]);
    }
    return out;
}

std::optional<std::string> hexDecode(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    out.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = nibble(hex[i]), low = nibble(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        out.push_back(static_cast<char>(high * 16 + low));
    }
    return out;
}

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

std::optional<std::int64_t> parseNumber(std::string_view word) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

void LineBuffer::append(const char* data, std::size_t size) {
    data_.append(data, size);
}

std::optional<std::string> LineBuffer::nextLine() {
    const std::size_t end = data_.find('\n');
    if (end == std::string::npos) {
        if (data_.size() > maxLine) {
            overflowed_ = true;
            data_.clear();
        }
        return std::nullopt;
    }
    std::string line = data_.substr(0, end);
    data_.erase(0, end + 1);
    return line;
}

} // namespace hostproto
