#include "sky/tabulated.h"

#include <cmath>

namespace vellmore::sky {

// One node before the span and two after it, so that every instant of it has two either side.
Tabulated::Tabulated(Model model, int which, int count, double spacingDays, double first,
                     double last)
    : m_model(model), m_which(which), m_count(static_cast<size_t>(count)), m_spacing(spacingDays),
      m_first(first - spacingDays)
{
    const auto nodes = static_cast<size_t>(std::ceil((last - first) / spacingDays)) + 4;
    m_values.resize(nodes * m_count);
    m_ready.resize(nodes);
}

const double* Tabulated::node(size_t k) const
{
    double* figures = &m_values[k * m_count];
    if (!m_ready[k]) {
        m_model(m_first + static_cast<double>(k) * m_spacing, m_which, figures);
        m_ready[k] = true;
    }
    return figures;
}

// A cubic through the four nodes around `tt`, in Lagrange's form, for nodes at -1, 0, 1 and 2
// with `tt` between 0 and 1.
void Tabulated::at(double tt, double* figures) const
{
    const double where = (tt - m_first) / m_spacing;
    const double k = std::floor(where);
    if (!(k >= 1 && k + 3 <= static_cast<double>(m_ready.size()))) {
        m_model(tt, m_which, figures);
        return;
    }
    const auto first = static_cast<size_t>(k) - 1;
    const double* nodes[4] = {node(first), node(first + 1), node(first + 2), node(first + 3)};
    const double u = where - k;
    const double weights[4] = {-u * (u - 1) * (u - 2) / 6, (u + 1) * (u - 1) * (u - 2) / 2,
                               -(u + 1) * u * (u - 2) / 2, (u + 1) * u * (u - 1) / 6};
    for (size_t i = 0; i < m_count; ++i) {
        figures[i] = weights[0] * nodes[0][i] + weights[1] * nodes[1][i] +
                     weights[2] * nodes[2][i] + weights[3] * nodes[3][i];
    }
}

} // namespace vellmore::sky
