#include "CodeTableNames.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <fstream>
#include <iterator>

#include "orvane/core/DataDirectory.h"
#include "orvane/core/NumberText.h"

namespace orvane::app {

namespace {

bool isLineBreak(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

bool isFieldBreak(QChar c) {
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

}  // namespace

CodeTableNames CodeTableNames::fromDataDirectory() {
    std::ifstream in(dataPath("constdata/stockcode/code.txt"), std::ios::binary);
    if (!in) return {};
    return fromUtf16(std::string(std::istreambuf_iterator<char>(in), {}));
}

CodeTableNames CodeTableNames::fromUtf16(const std::string& bytes) {
    CodeTableNames table;
    QStringDecoder decode(QStringDecoder::Utf16);
    const QString text = decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QString line;
    auto takeLine = [&table](const QString& l) {
        QStringList fields;
        QString field;
        for (QChar c : l) {
            if (isFieldBreak(c)) {
                fields << field;
                field.clear();
            } else {
                field += c;
            }
        }
        fields << field;
        if (fields.size() < 3 || fields[0].size() != 6) return;
        const int key = leadingInt(fields[0].toStdString());
        table.names_.try_emplace(key, fields[1].toStdString());
    };
    for (QChar c : text) {
        if (isLineBreak(c)) {
            takeLine(line);
            line.clear();
        } else {
            line += c;
        }
    }
    takeLine(line);
    return table;
}

std::string CodeTableNames::nameOf(const std::string& code) const {
    const auto it = names_.find(leadingInt(code));
    return it == names_.end() ? std::string() : it->second;
}

}  // namespace orvane::app
