#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Where the tokens of a line start and end: blanks, tabs and line feeds part
// them, in raw survey files and LAS data lines alike. The scans look at eight
// characters at a time, so that a long run costs few steps and few branches.
namespace textio {

inline bool IsTokenSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

namespace detail {

inline constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
inline constexpr bool kWordScan = std::endian::native == std::endian::little;

inline std::uint64_t Word(const char* at)
{
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The index of the lowest byte whose high bit `bits` has set.
inline int LowestByte(std::uint64_t bits) { return std::countr_zero(bits) / 8; }

} // namespace detail

// The first separator in [first, last), or `last` when there is none.
inline const char* FindTokenSeparator(const char* first, const char* last)
{
    if constexpr (detail::kWordScan) {
        // A byte below 0x21 may be a separator: the lowest such byte of a
        // word is found exactly (a borrow only runs upwards from it).
        while (last - first >= 8) {
            const std::uint64_t word = detail::Word(first);
            const std::uint64_t low = (word - detail::kEachByte * 0x21) & ~word & detail::kHighBits;
            if (!low) {
                first += 8;
                continue;
            }
            first += detail::LowestByte(low);
            if (IsTokenSeparator(*first))
                return first;
            ++first; // another control character: part of the token
        }
    }
    while (first != last && !IsTokenSeparator(*first))
        ++first;
    return first;
}

// The first character in [first, last) that is not a separator, or `last`.
inline const char* SkipTokenSeparators(const char* first, const char* last)
{
    if constexpr (detail::kWordScan) {
        constexpr std::uint64_t kLowBits = ~detail::kHighBits;
        while (last - first >= 8) {
            // The bytes that are not blanks, each found exactly.
            const std::uint64_t word = detail::Word(first) ^ (detail::kEachByte * ' ');
            const std::uint64_t other = (((word & kLowBits) + kLowBits) | word) & detail::kHighBits;
            if (!other) {
                first += 8;
                continue;
            }
            first += detail::LowestByte(other);
            if (!IsTokenSeparator(*first))
                return first;
            ++first; // a tab or a line feed
        }
    }
    while (first != last && IsTokenSeparator(*first))
        ++first;
    return first;
}

} // namespace textio
