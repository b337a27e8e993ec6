#include "platform/QtStringTable.h"

#include <QTranslator>
#include <string>

#include "platform/Translations.h"

namespace orvane::app {

QtStringTable::QtStringTable(const QString& qmFile)
    : translator_(std::make_unique<QTranslator>()), loaded_(translator_->load(qmFile)) {}

QtStringTable::QtStringTable() : QtStringTable(kTranslationResource) {}

QtStringTable::~QtStringTable() = default;

std::string QtStringTable::localizedString(std::string_view key) const {
    const std::string source(key);
    return translator_->translate("Localizable", source.c_str()).toStdString();
}

}  // namespace orvane::app
