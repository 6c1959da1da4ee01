#pragma once

#include "calc/reference.h"
#include "db/rows.h"
#include "db/store.h"

#include <QHash>

#include <variant>

namespace veltron::records {

// Reference data of a run read from the store once, when it is made: the
// substances, tabBetta and tabG, each in one query; runs then look them up
// in memory. One object serves any number of runs. Store failures throw
// db::StoreError, a number field of tabBetta or tabG that holds no number
// db::NotANumber; a substance with such a field throws db::NotANumber when
// a run asks for it.
class StoreReference : public calc::Reference {
public:
    explicit StoreReference(const db::Store& store);

    std::optional<calc::SubstData> substance(const QString& name) const override;
    std::optional<double> bettaKAtMost(double k) const override { return tables_.bettaKAtMost(k); }
    std::optional<double> bettaKAtLeast(double k) const override { return tables_.bettaKAtLeast(k); }
    std::optional<double> betta(double k, double p) const override { return tables_.betta(k, p); }
    const std::vector<calc::GRow>& gRows() const override { return tables_.gRows(); }

private:
    calc::MemoryReference tables_;
    QHash<QString, std::variant<calc::SubstData, db::NotANumber>> substances_;
};

}  // namespace veltron::records
