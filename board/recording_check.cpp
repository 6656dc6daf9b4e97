#include "board/recording_check.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstdio>
#include <stdexcept>

namespace mervox::board {

namespace {

std::string Hex(const unsigned char* bytes, size_t n) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * n);
    for (size_t k = 0; k < n; ++k) {
        out += kDigits[bytes[k] >> 4];
        out += kDigits[bytes[k] & 15];
    }
    return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

bool CheckRecording(const std::string& body, CheckedRecording& out, std::string& error) {
    out = CheckedRecording{};
    for (char ch : body) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0 || c >= 0x80 || (c < 0x20 && c != '\n' && !IsBlank(static_cast<char>(c)))) {
            error = "the recording is not text: it holds bytes no recording has";
            return false;
        }
    }
    size_t pos = 0;
    int line = 0;
    int32_t previous = 0;
    while (pos < body.size()) {
        ++line;
        size_t end = body.find('\n', pos);
        if (end == std::string::npos) end = body.size();
        size_t a = pos, b = end;
        pos = end + 1;
        while (a < b && IsBlank(body[a])) ++a;
        while (b > a && IsBlank(body[b - 1])) --b;
        if (a == b) continue;
        bool digits = b - a == 8;
        for (size_t k = a; digits && k < b; ++k) digits = body[k] >= '0' && body[k] <= '9';
        if (!digits) {
            error = "line " + std::to_string(line) + " is not a record (eight digits: five of frame, three of keys)";
            return false;
        }
        const int32_t frame = std::stoi(body.substr(a, 5));
        const int keys = std::stoi(body.substr(a + 5, 3));
        if (keys > 255) {
            error = "line " + std::to_string(line) + " has keys " + std::to_string(keys) + ", above 255";
            return false;
        }
        if (frame == 0) {
            error = "line " + std::to_string(line) + " is at frame 0: a round's first update is frame 1";
            return false;
        }
        if (frame <= previous) {
            error = "line " + std::to_string(line) + " goes back in time: frame " + std::to_string(frame) +
                    " after frame " + std::to_string(previous);
            return false;
        }
        if (out.records.size() == static_cast<size_t>(kInputLogLength)) {
            error = "the recording has more than " + std::to_string(kInputLogLength) + " records";
            return false;
        }
        previous = frame;
        out.records.push_back(InputRecord{frame, static_cast<uint16_t>(keys)});
    }
    if (out.records.empty()) {
        error = "the recording is empty";
        return false;
    }
    // The digest is of the changes alone: a record that repeats the keys
    // already held changes nothing in the round (a round starts with no
    // keys held, and the arrow latch it could release is already free).
    char text[32];
    std::string changes;
    out.canonical.reserve(out.records.size() * 10);
    int held = 0;
    for (const InputRecord& r : out.records) {
        std::snprintf(text, sizeof text, "%05d%03d\r\n", r.frame, static_cast<int>(r.keys));
        out.canonical += text;
        if (r.keys != held) changes += text;
        held = r.keys;
    }
    out.digest = Sha256Hex(changes);
    return true;
}

bool CheckName(const std::string& name, std::string& key, std::string& error) {
    key.clear();
    bool ok = name.size() >= 3 && name.size() <= 16;
    for (char c : name) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !digit && c != '_' && c != '-') ok = false;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (!ok) {
        error = "a name is 3 to 16 letters, digits, _ or -";
        key.clear();
    }
    return ok;
}

std::string Sha256Hex(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &n, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 is not available");
    return Hex(digest, n);
}

std::string NewToken() {
    unsigned char bytes[32];
    if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no random bytes for a token");
    return Hex(bytes, sizeof bytes);
}

}  // namespace mervox::board
