#pragma once

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace veltron::calc {

// Properties of a block's substance that a run takes from SubstChar.
struct SubstData {
    QString Name;
    double Mol_massa = 0;
    double T_kip = 0;
    double Tvsp = 0;
    double Tepl_sgorPGF = 0;  // q'
    double Tepl_paroobr = 0;  // r
    double Teploem_GF = 0;    // c'
    double pA = 0;
    double pB = 0;
    double pCa = 0;
    // False when the directory leaves the flash point, or the Antoine
    // constants, empty: not defined for the substance (a gas has no flash
    // point), so formula 14.3, or Antoine's, cannot be applied to it.
    bool hasTvsp = true;
    bool hasAntoine = true;

    // Heat of combustion used by the liquid-phase terms.
    double qGF() const { return Tepl_sgorPGF - Tepl_paroobr; }
};

struct BettaRow {
    double k = 0;
    double P = 0;
    double Betta = 0;
};

struct GRow {
    double t = 0;
    double G = 0;
};

// Reference data a run reads: substances, tabBetta and tabG.
// Implementations may throw std::exception on a failing store; the run lets
// such an exception pass to its caller.
class Reference {
public:
    virtual ~Reference() = default;

    // First row of SubstChar with this name.
    virtual std::optional<SubstData> substance(const QString& name) const = 0;

    // Largest tabBetta.k not above k (the last row of "k <= x order by k").
    virtual std::optional<double> bettaKAtMost(double k) const = 0;
    // Smallest tabBetta.k not below k (the first row of "k >= x order by k").
    virtual std::optional<double> bettaKAtLeast(double k) const = 0;
    // Betta of the row with exactly this k and the smallest P that is >= p.
    virtual std::optional<double> betta(double k, double p) const = 0;

    // Rows of tabG in ascending t.
    virtual const std::vector<GRow>& gRows() const = 0;
};

// Reference data held in memory: for tests, benchmarks and as the cache of
// the store-backed reference.
class MemoryReference : public Reference {
public:
    void addSubstance(const SubstData& s);
    void setBetta(std::vector<BettaRow> rows);
    void setG(std::vector<GRow> rows);

    std::optional<SubstData> substance(const QString& name) const override;
    std::optional<double> bettaKAtMost(double k) const override;
    std::optional<double> bettaKAtLeast(double k) const override;
    std::optional<double> betta(double k, double p) const override;
    const std::vector<GRow>& gRows() const override { return g_; }

private:
    QHash<QString, SubstData> substances_;
    std::vector<BettaRow> betta_;  // sorted by k, then P
    std::vector<GRow> g_;          // sorted by t
};

}  // namespace veltron::calc
