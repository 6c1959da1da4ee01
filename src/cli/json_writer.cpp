#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

namespace veltron::cli {

namespace {

// Appends the UTF-8 text as the inside of a JSON string: runs of plain
// characters at once, the others escaped.
void appendEscaped(std::string& out, const char* text, std::size_t size)
{
    static constexpr char kHex[] = "0123456789abcdef";
    const auto plain = [](unsigned char c) { return c >= 0x20 && c != '"' && c != '\\'; };
    for (std::size_t i = 0; i < size; ++i) {
        std::size_t end = i;
        while (end < size && plain(static_cast<unsigned char>(text[end])))
            ++end;
        out.append(text + i, end - i);
        if (end == size)
            return;
        i = end;
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            const char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            out.append(escaped, sizeof escaped);
        }
        }
    }
}

void appendString(std::string& out, const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    out += '"';
    appendEscaped(out, utf8.constData(), std::size_t(utf8.size()));
    out += '"';
}

}  // namespace

std::string jsonString(const QString& s)
{
    std::string out;
    appendString(out, s);
    return out;
}

void JsonWriter::separate()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_)
        text_ += ", ";
    first_ = false;
}

void JsonWriter::beginObject()
{
    separate();
    text_ += '{';
    first_ = true;
}

void JsonWriter::endObject()
{
    text_ += '}';
    first_ = false;
}

void JsonWriter::beginArray()
{
    separate();
    text_ += '[';
    first_ = true;
}

void JsonWriter::endArray()
{
    text_ += ']';
    first_ = false;
}

void JsonWriter::key(const char* name)
{
    separate();
    text_ += '"';
    text_.append(name);
    text_ += "\": ";
    afterKey_ = true;
}

void JsonWriter::value(double x)
{
    separate();
    if (!std::isfinite(x)) {  // never from a run; JSON has no such numbers
        text_ += "null";
        return;
    }
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    text_.append(buf, res.ptr);
}

void JsonWriter::value(int x)
{
    separate();
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    text_.append(buf, res.ptr);
}

void JsonWriter::value(bool x)
{
    separate();
    text_ += x ? "true" : "false";
}

void JsonWriter::value(const QString& s)
{
    separate();
    appendString(text_, s);
}

void JsonWriter::writeTo(std::ostream& out)
{
    out.write(text_.data(), std::streamsize(text_.size()));
    text_.clear();
}

}  // namespace veltron::cli
