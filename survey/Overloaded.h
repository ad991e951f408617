#pragma once

namespace survey {

// One visitor for std::visit from several lambdas, one per alternative.
template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// Older compilers deduce no template arguments for an aggregate by themselves.
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

} // namespace survey
