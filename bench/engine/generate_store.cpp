// veltron-bench-generate DIR [CALCULATIONS] [ADJACENT]: a data folder with
// CALCULATIONS (default 10000) model I calculations of ADJACENT (default 5)
// adjacent blocks each, for timing "veltron-cli --data DIR run --all".
#include "db/store.h"

#include <QCoreApplication>
#include <QStringList>

#include <iostream>

using namespace veltron;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::cerr << "usage: veltron-bench-generate DIR [CALCULATIONS] [ADJACENT]\n";
        return 1;
    }
    const int count = args.size() > 1 ? args[1].toInt() : 10000;
    const int adjacent = args.size() > 2 ? args[2].toInt() : 5;
    try {
        auto store = db::Store::openEmbedded(args[0]);
        const int firstId = store->query("SELECT COALESCE(MAX(Id), 0) FROM tabRasch").first().value(0).toInt() + 1;
        if (firstId + count > 32768) {
            std::cerr << "too many calculations for 16-bit identifiers\n";
            return 1;
        }
        store->transaction([&] {
            const QString block = QStringLiteral(
                "INSERT INTO tabBloki (Id_Rasch, Id, Name_blok, Name, V_GF, V_PGF, Davl, Temp, Plotn_GF, "
                "Plotn_PGF, Adiab, S_sech, Sk_teploper_GG, Sk_teploper_GF, Koef_gidro, t, t_P, t_T, "
                "formula, per1, per2, per3, pVist, pVist_zad, pVistG, pVistG_zad, G1, znG1, G2, znG2, mi, pmi) "
                "VALUES (?, ?, ?, 'Пропан', ?, ?, ?, ?, 500, 1.83, 1.13, 0.005, 2, 3, 0.6, 120, 10, 20, "
                "0, 0, 0, 0, 340, 0, 30, 0, 0, 0, 0, 0, 0, 0)");
            for (int n = 0; n < count; ++n) {
                const int id = firstId + n;
                store->exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)",
                            {id, QStringLiteral("Расчет %1").arg(id)});
                store->exec("INSERT INTO tabMain (Id, Name_poverhn, t_kontakt, S_kontakt, S_G, Tempv, Tempp, "
                            "Tg, nyu, f131, z, znPn, znPn1, Lnkpr, znLnkpr, Uv, opNyu, A, G, Pn) VALUES "
                            "(?, 'Бетон', 3600, 400, 400, ?, 20, 20, 1, 0, 0.1, 0, 0, 1, 50, 1, 0, ?, ?, 1)",
                            {id, 15 + n % 20, n % 2, (n / 2) % 2});
                for (int b = 1; b <= adjacent + 1; ++b)
                    store->exec(block, {id, b, QStringLiteral("Блок %1").arg(b), b == 1 ? 40.0 : 0.5,
                                        b == 1 ? 7.5 : 0.1, 0.8 + 0.01 * (n % 50) + 0.1 * b,
                                        15 + (n + b) % 20});
            }
        });
    } catch (const db::StoreError& e) {
        std::cerr << e.message().toStdString() << "\n";
        return 1;
    }
    return 0;
}
