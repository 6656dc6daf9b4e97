// The values of the board's options and request parameters, read by one
// rule wherever they are given: the command line, the workers' commands
// and the queries of the HTTP API.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace mervox::board {

// A whole decimal number in [lo, hi], the whole of `text`; false (and
// `out` untouched) for anything else, the empty text too.
bool ParseWholeNumber(const std::string& text, long lo, long hi, long& out);

// The same into an option of another arithmetic type (int, double).
template <typename T>
bool ParseWholeNumberInto(const std::string& text, long lo, long hi, T& out) {
    long v = 0;
    if (!ParseWholeNumber(text, lo, hi, v)) return false;
    out = static_cast<T>(v);
    return true;
}

// An option that takes a value: its name ("--db") and how the value is
// read into its place (false for a bad value).
struct ValueOption {
    const char* name;
    std::function<bool(const std::string& value)> read;
};

// An option whose value is a text that must not be empty.
ValueOption TextOption(const char* name, std::string& place);

// An option whose value is a whole number in [lo, hi].
template <typename T>
ValueOption WholeNumberOption(const char* name, long lo, long hi, T& place) {
    return {name, [lo, hi, &place](const std::string& v) { return ParseWholeNumberInto(v, lo, hi, place); }};
}

enum class OptionRead { Read, Unknown, Bad };

// Reads args[k] as one of `options` with its value in args[k + 1], and
// moves k onto the value. Unknown when args[k] is none of them; Bad with
// `error` set when the value is missing ("--db needs a value") or bad
// ("bad value for --lease: x").
OptionRead ReadValueOption(const std::vector<std::string>& args, size_t& k, const std::vector<ValueOption>& options,
                           std::string& error);

// The machine's cores, at least 1: the default count of verifying threads.
int CoreCount();

}  // namespace mervox::board
