#include "platform/Translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace orvane::app {

bool installTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(kTranslationResource) || !application.installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace orvane::app
