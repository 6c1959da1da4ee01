#include "calc/reference.h"

#include <algorithm>

namespace veltron::calc {

void MemoryReference::addSubstance(const SubstData& s)
{
    // The first row of a name wins, as a select of that name would return it.
    if (!substances_.contains(s.Name))
        substances_.insert(s.Name, s);
}

void MemoryReference::setBetta(std::vector<BettaRow> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const BettaRow& a, const BettaRow& b) {
        return a.k < b.k || (a.k == b.k && a.P < b.P);
    });
    betta_ = std::move(rows);
}

void MemoryReference::setG(std::vector<GRow> rows)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const GRow& a, const GRow& b) { return a.t < b.t; });
    g_ = std::move(rows);
}

std::optional<SubstData> MemoryReference::substance(const QString& name) const
{
    const auto it = substances_.constFind(name);
    if (it == substances_.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<double> MemoryReference::bettaKAtMost(double k) const
{
    const auto it = std::upper_bound(betta_.begin(), betta_.end(), k,
                                     [](double v, const BettaRow& r) { return v < r.k; });
    if (it == betta_.begin())
        return std::nullopt;
    return std::prev(it)->k;
}

std::optional<double> MemoryReference::bettaKAtLeast(double k) const
{
    const auto it = std::lower_bound(betta_.begin(), betta_.end(), k,
                                     [](const BettaRow& r, double v) { return r.k < v; });
    if (it == betta_.end())
        return std::nullopt;
    return it->k;
}

std::optional<double> MemoryReference::betta(double k, double p) const
{
    auto it = std::lower_bound(betta_.begin(), betta_.end(), k,
                               [](const BettaRow& r, double v) { return r.k < v; });
    for (; it != betta_.end() && it->k == k; ++it)
        if (it->P >= p)
            return it->Betta;
    return std::nullopt;
}

}  // namespace veltron::calc
