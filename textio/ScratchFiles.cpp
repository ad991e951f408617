#include "textio/ScratchFiles.h"

#include <climits>

namespace textio {
namespace {

constexpr std::string_view kPrefix = ".kestrix-";
constexpr std::string_view kSuffixChars = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::size_t kSuffixLength = 6;

bool IsSuffixChar(char c) { return kSuffixChars.find(c) != std::string_view::npos; }

} // namespace

std::string ScratchFileName(long owner, std::uint64_t bits)
{
    std::string name = std::string(kPrefix) + std::to_string(owner) + "-";
    for (std::size_t i = 0; i < kSuffixLength; ++i, bits /= kSuffixChars.size())
        name += kSuffixChars[bits % kSuffixChars.size()];
    return name;
}

std::optional<long> OwnerOfScratchFile(std::string_view name)
{
    if (name.substr(0, kPrefix.size()) != kPrefix)
        return std::nullopt;
    name.remove_prefix(kPrefix.size());
    long owner = 0;
    std::size_t digits = 0;
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9' && digits < 10) {
        owner = owner * 10 + (name[digits] - '0');
        ++digits;
    }
    if (digits == 0 || owner <= 0 || owner > INT_MAX || name.size() != digits + 1 + kSuffixLength
        || name[digits] != '-')
        return std::nullopt;
    for (char c : name.substr(digits + 1)) {
        if (!IsSuffixChar(c))
            return std::nullopt;
    }
    return owner;
}

} // namespace textio
