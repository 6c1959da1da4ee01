#pragma once

#include "calc/reference.h"
#include "db/store.h"

#include <QHash>

namespace veltron::records {

// Reference data of a run read from the store: tabBetta and tabG once, when
// it is made, and each substance the first time a run asks for it. One
// object serves any number of runs; store failures throw db::StoreError.
class StoreReference : public calc::Reference {
public:
    explicit StoreReference(const db::Store& store);

    std::optional<calc::SubstData> substance(const QString& name) const override;
    std::optional<double> bettaKAtMost(double k) const override { return tables_.bettaKAtMost(k); }
    std::optional<double> bettaKAtLeast(double k) const override { return tables_.bettaKAtLeast(k); }
    std::optional<double> betta(double k, double p) const override { return tables_.betta(k, p); }
    const std::vector<calc::GRow>& gRows() const override { return tables_.gRows(); }

private:
    const db::Store& store_;
    calc::MemoryReference tables_;
    mutable QHash<QString, std::optional<calc::SubstData>> substances_;
};

}  // namespace veltron::records
