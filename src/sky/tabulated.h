#pragma once

#include <cstddef>
#include <vector>

namespace vellmore::sky {

// Figures that change smoothly with time, worked out by a model at evenly spaced nodes across a
// span and interpolated between them: a night's thousands of instants then cost a few dozen
// evaluations of the model. A node is worked out the first time an instant near it is asked
// for, so that a span made generous costs nothing where it is not used; outside the span the
// model is asked. A table made empty has no model to ask: its owner asks one itself.
class Tabulated
{
public:
    // Writes the `count` figures of item `which` at `tt` (days from J2000.0, TT).
    using Model = void (*)(double tt, int which, double* figures);

    Tabulated() = default;
    Tabulated(Model model, int which, int count, double spacingDays, double first, double last);

    bool empty() const { return m_ready.empty(); }
    void at(double tt, double* figures) const;

private:
    const double* node(size_t k) const;

    Model m_model = nullptr;
    int m_which = 0;
    size_t m_count = 0;
    double m_spacing = 0;
    double m_first = 0; // TT of the first node
    // Filled in as asked for: a cache, which is why a table is not for sharing between threads.
    mutable std::vector<double> m_values; // `count` figures a node
    mutable std::vector<bool> m_ready;
};

} // namespace vellmore::sky
