#include "board/option_values.h"

#include <charconv>
#include <thread>

namespace mervox::board {

bool ParseWholeNumber(const std::string& text, long lo, long hi, long& out) {
    long v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || p != end || v < lo || v > hi) return false;
    out = v;
    return true;
}

ValueOption TextOption(const char* name, std::string& place) {
    return {name, [&place](const std::string& v) {
                place = v;
                return !v.empty();
            }};
}

OptionRead ReadValueOption(const std::vector<std::string>& args, size_t& k, const std::vector<ValueOption>& options,
                           std::string& error) {
    const std::string& name = args[k];
    for (const ValueOption& o : options) {
        if (name != o.name) continue;
        if (k + 1 >= args.size()) {
            error = name + " needs a value";
            return OptionRead::Bad;
        }
        const std::string& value = args[++k];
        if (o.read(value)) return OptionRead::Read;
        error = "bad value for " + name + ": " + value;
        return OptionRead::Bad;
    }
    return OptionRead::Unknown;
}

int CoreCount() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

}  // namespace mervox::board
