#pragma once

// The register of the technological blocks of a plant («Перечень
// технологических блоков»): one row per calculation of model I with the
// results of its run, in the order of the categories, written as a Word
// table, an Excel workbook or a CSV text.

#include "db/store.h"
#include "records/calculations.h"
#include "records/signature.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace veltron::report {

// The results of a run that the register shows.
struct RegisterNumbers {
    double E = 0;
    double m = 0;
    double Q = 0;
    QString category;  // "I", "II" or "III"
    double Wt = 0;
    double R0 = 0;
    std::array<double, 5> R{};
};

struct RegisterRow {
    QString calculation;
    QString block;      // the main block's name
    QString substance;  // the main block's substance
    std::optional<RegisterNumbers> numbers;  // nothing when the run stopped
    QString stop;                            // the message of a run that stopped
};

struct BlockRegister {
    QString store;  // where the calculations are kept, as the heading names it
    QDate date;
    QList<RegisterRow> rows;  // in the register's order
};

// Runs each calculation as "run --all" does, journal row and all, and puts
// the rows in the register's order. `progress(done, total)` follows the
// runs. Store failures throw db::StoreError.
BlockRegister makeRegister(db::Store& store, const QList<records::Calculation>& calculations,
                           const std::function<void(qsizetype done, qsizetype total)>& progress = {},
                           const QDate& date = QDate::currentDate());

// Category I first, then II and III, each by m descending; a calculation that
// stopped comes after them all, keeping its place among the stopped ones.
void orderRegister(QList<RegisterRow>& rows);

// "Источник расчетов: …. Дата: …. Блоков: …, из них категории I — …".
QString registerHeading(const BlockRegister& r);

QStringList registerHeader();  // the 15 column captions
// The texts of row `number` (from 1): numbers as the results screen writes
// them; a stopped run has its message in place of the numbers.
QStringList registerCells(const RegisterRow& row, int number);

enum class RegisterFormat { Docx, Xlsx, Csv };
// The format a file name asks for by its extension; nothing for another one.
std::optional<RegisterFormat> registerFormatOf(const QString& fileName);

inline const QString kRegisterTemplate = QStringLiteral("otchet_veltron_perechen.docx");

// The register as a landscape Word table with the heading repeated on every
// page and rows that stay whole, ending with the signature block. Throws
// docx::DocxError.
QByteArray registerDocx(const BlockRegister& r, const records::Signature& signature);
// The register as an Excel workbook: numbers as numbers with the results
// screen's format, the header frozen and filtered, the signature under the
// table. Throws docx::DocxError when the workbook cannot be written.
QByteArray registerXlsx(const BlockRegister& r, const records::Signature& signature);
// The table alone as CSV for spreadsheets set to Russian: UTF-8 with a BOM,
// ";" between fields, decimal commas.
QByteArray registerCsv(const BlockRegister& r);
QByteArray registerFile(const BlockRegister& r, RegisterFormat format, const records::Signature& signature);

}  // namespace veltron::report
