#include "cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace veltron::cli {

std::string jsonString(const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
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
    text_ += jsonString(QString::fromUtf8(name));
    text_ += ": ";
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
    text_ += std::to_string(x);
}

void JsonWriter::value(bool x)
{
    separate();
    text_ += x ? "true" : "false";
}

void JsonWriter::value(const QString& s)
{
    separate();
    text_ += jsonString(s);
}

}  // namespace veltron::cli
