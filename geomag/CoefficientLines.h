#pragma once

#include "geomag/CoefficientReaders.h"
#include "geomag/Model.h"

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// What the two coefficient readers share: bounded lines split at blanks,
// checked fields, and the first fault met.
namespace geomag::coefficients {

inline constexpr std::size_t kMaxLine = 1000;
inline constexpr double kMaxCoefficient = 1e6; // nT; the largest real one is near 3e4

class Lines {
public:
    explicit Lines(std::istream& in) : in_(in) {}

    // The next line that is not blank, split (the fields last until the next
    // call); false at the end of the input or at a line too long, a fault.
    bool Next(std::vector<std::string_view>& fields);

    // Records the fault (at the current line, or at none for the file as a
    // whole); always false, for returning.
    bool Fail(std::string reason, bool wholeFile = false);
    // Where Next gave no line: the fault for the file as a whole, unless a
    // line's fault came first; always false.
    bool FailAtEnd(std::string reason) { return Failed() ? false : Fail(std::move(reason), true); }
    bool Failed() const { return !fault_.reason.empty(); }
    const ReadFault& Fault() const { return fault_; }

    // A field read as a coefficient, an epoch (a year from 1000 to 3000, so
    // that a range prints as four digits) or a degree and order; false, with
    // the fault recorded, for anything else.
    bool Coefficient(std::string_view field, double& value);
    bool Epoch(std::string_view field, double& year);
    bool Term(std::string_view degree, std::string_view order, int& n, int& m);

private:
    std::istream& in_;
    std::string line_;
    std::int64_t number_ = 0;
    ReadFault fault_{0, {}};
};

// A whole model read from `in` by `readModel`, or the first fault met.
inline std::variant<Model, ReadFault> ReadWith(std::istream& in, bool (*readModel)(Lines&, Model&))
{
    Lines lines(in);
    Model model;
    if (!readModel(lines, model))
        return lines.Fault();
    return model;
}

// Which coefficients were read, so that none is missing or read twice.
struct TermsSeen {
    std::array<bool, kTermCount> g{};
    std::array<bool, kTermCount> h{};
    int degree = 0;

    // False when the term was read before.
    bool Mark(std::array<bool, kTermCount>& terms, int n, int m);
    // True when every term up to the highest degree read was; else the fault.
    bool Complete(Lines& lines) const;
};

// "degree 3, order 2", for messages.
std::string TermText(int n, int m);

} // namespace geomag::coefficients
