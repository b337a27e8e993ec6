#include "marketimport/ImportChoice.h"

#include <QSettings>
#include <QString>

#include "orvane/core/DataDirectory.h"

namespace orvane::app {

namespace {

QSettings userSettings() {
    return QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
}

QString textOf(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

std::filesystem::path pathOf(const QVariant& value) {
    return value.toString().toStdString();
}

}  // namespace

std::optional<ImportChoice> rememberedImportChoice() {
    const QSettings settings = userSettings();
    const QVariant source = settings.value(QStringLiteral("import/source"));
    if (!source.isValid() || source.toString().isEmpty()) return std::nullopt;
    return ImportChoice{
        .source = pathOf(source),
        .stockList = pathOf(settings.value(QStringLiteral("import/stockList"))),
        .events = pathOf(settings.value(QStringLiteral("import/events"))),
        .newestSourceTime = settings.value(QStringLiteral("import/newestSourceTime")).toLongLong(),
    };
}

bool rememberImportChoice(const ImportChoice& choice) {
    QSettings settings = userSettings();
    settings.setValue(QStringLiteral("import/source"), textOf(choice.source));
    settings.setValue(QStringLiteral("import/stockList"), textOf(choice.stockList));
    settings.setValue(QStringLiteral("import/events"), textOf(choice.events));
    settings.setValue(QStringLiteral("import/newestSourceTime"),
                      static_cast<qlonglong>(choice.newestSourceTime));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void forgetImportChoice() {
    QSettings settings = userSettings();
    settings.remove(QStringLiteral("import"));
}

std::filesystem::path importedTreePath() {
    return dataPath("ImportedMarket");
}

}  // namespace orvane::app
