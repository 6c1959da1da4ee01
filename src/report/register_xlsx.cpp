// The register as an Excel workbook, written by libxlsxwriter into a
// temporary folder and handed on as bytes, so that it reaches its target
// through the same save step as every report.
#include "report/block_register.h"

#include "report/docx/docx_error.h"
#include "report/format.h"
#include "report/signature_block.h"

#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <memory>

namespace veltron::report {

namespace {

constexpr lxw_row_t kHeaderRow = 2;  // under the title and the heading line

// The Excel format of a number as the results screen writes it: fixed with
// three decimals, or the exponent form for the small values.
const char* numberFormat(double x)
{
    if (x == 0)
        return "0";
    return FormatResult(x).contains(QLatin1Char('E')) ? "0.00E+00" : "0.000";
}

class Workbook {
public:
    Workbook(const QString& path, const QString& tmpDir)
        : path_(path.toUtf8()), tmp_(tmpDir.toUtf8())
    {
        lxw_workbook_options options{};
        options.tmpdir = tmp_.data();
        book_ = workbook_new_opt(path_.constData(), &options);
        if (!book_)
            throw docx::DocxError(QStringLiteral("Книга Excel не создана: нет памяти или места для временных файлов."));
        sheet_ = workbook_add_worksheet(book_, "Перечень блоков");
        bold_ = workbook_add_format(book_);
        format_set_bold(bold_);
        header_ = workbook_add_format(book_);
        format_set_bold(header_);
        format_set_text_wrap(header_);
        format_set_align(header_, LXW_ALIGN_CENTER);
        format_set_align(header_, LXW_ALIGN_VERTICAL_CENTER);
        format_set_bg_color(header_, 0xE7E6E6);
        format_set_border(header_, LXW_BORDER_THIN);
        text_ = workbook_add_format(book_);
        format_set_border(text_, LXW_BORDER_THIN);
        category_ = workbook_add_format(book_);
        format_set_border(category_, LXW_BORDER_THIN);
        format_set_align(category_, LXW_ALIGN_CENTER);
        for (const char* pattern : {"0", "0.000", "0.00E+00"}) {
            lxw_format* f = workbook_add_format(book_);
            format_set_num_format(f, pattern);
            format_set_border(f, LXW_BORDER_THIN);
            numbers_.emplace_back(pattern, f);
        }
    }
    ~Workbook()
    {
        if (book_)
            workbook_close(book_);
    }

    void text(lxw_row_t row, lxw_col_t col, const QString& s, lxw_format* format)
    {
        worksheet_write_string(sheet_, row, col, s.toUtf8().constData(), format);
    }
    void number(lxw_row_t row, lxw_col_t col, double x)
    {
        const char* pattern = numberFormat(x);
        for (const auto& [p, f] : numbers_)
            if (qstrcmp(p, pattern) == 0)
                worksheet_write_number(sheet_, row, col, x, f);
    }

    void write(const BlockRegister& r, const records::Signature& signature)
    {
        worksheet_set_landscape(sheet_);
        worksheet_set_paper(sheet_, 9);  // A4
        worksheet_fit_to_pages(sheet_, 1, 0);
        text(0, 0, QStringLiteral("Перечень технологических блоков"), bold_);
        text(1, 0, registerHeading(r), nullptr);
        const QStringList header = registerHeader();
        for (int c = 0; c < header.size(); ++c)
            text(kHeaderRow, lxw_col_t(c), header[c], header_);
        lxw_row_t row = kHeaderRow + 1;
        for (int i = 0; i < r.rows.size(); ++i, ++row)
            writeRow(row, r.rows[i], i + 1);
        const lxw_row_t last = row - 1;
        static const double widths[] = {6, 30, 34, 20, 15, 12, 9, 10, 12, 9, 10, 10, 10, 10, 10};
        for (lxw_col_t c = 0; c < lxw_col_t(std::size(widths)); ++c)
            worksheet_set_column(sheet_, c, c, widths[c], nullptr);
        worksheet_freeze_panes(sheet_, kHeaderRow + 1, 0);
        worksheet_autofilter(sheet_, kHeaderRow, 0, std::max(last, kHeaderRow), lxw_col_t(header.size() - 1));
        worksheet_repeat_rows(sheet_, kHeaderRow, kHeaderRow);
        row += 1;  // a blank row before the signature
        for (const QString& line : signatureLines(signature, r.date))
            text(row++, 0, line, nullptr);
    }

    // Closes the workbook, which writes the file.
    void close()
    {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        if (error != LXW_NO_ERROR)
            throw docx::DocxError(
                QStringLiteral("Книга Excel не записана: %1.").arg(QString::fromUtf8(lxw_strerror(error))));
    }

private:
    void writeRow(lxw_row_t row, const RegisterRow& r, int position)
    {
        worksheet_write_number(sheet_, row, 0, position, numbers_.front().second);
        text(row, 1, r.calculation, text_);
        text(row, 2, r.block, text_);
        text(row, 3, r.substance, text_);
        if (!r.numbers) {
            text(row, 4, r.stop, nullptr);
            return;
        }
        const RegisterNumbers& n = *r.numbers;
        number(row, 4, n.E);
        number(row, 5, n.m);
        number(row, 6, n.Q);
        text(row, 7, n.category, category_);
        number(row, 8, n.Wt);
        number(row, 9, n.R0);
        for (int i = 0; i < 5; ++i)
            number(row, lxw_col_t(10 + i), n.R[std::size_t(i)]);
    }

    QByteArray path_;
    QByteArray tmp_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* header_ = nullptr;
    lxw_format* text_ = nullptr;
    lxw_format* category_ = nullptr;
    std::vector<std::pair<const char*, lxw_format*>> numbers_;
};

}  // namespace

QByteArray registerXlsx(const BlockRegister& r, const records::Signature& signature)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        throw docx::DocxError(QStringLiteral("Книга Excel не создана: не удалось создать временную папку."));
    const QString path = dir.filePath(QStringLiteral("register.xlsx"));
    {
        Workbook book(path, dir.path());
        book.write(r, signature);
        book.close();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw docx::DocxError(QStringLiteral("Книга Excel не прочитана из временной папки."));
    return file.readAll();
}

}  // namespace veltron::report
