#include "widgets/french_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace {
struct MissingText {
    const char* context;
    const char* source;
    const char* french;
};

// Texts of Qt 6.4's dialogs that its French catalogue leaves in English.
constexpr MissingText missingTexts[] = {
    {"QPrintPropertiesDialog", "Printer Properties", "Propriétés de l'imprimante"},
    {"QPrintPropertiesWidget", "Advanced", "Avancé"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
     "Certaines options sont incompatibles entre elles. Veuillez les corriger."},
    {"QPrintSettingsOutput", "Double Sided Printing", "Impression recto verso"},
    {"QPrintSettingsOutput", "Off", "Recto seul"},
    {"QPrintSettingsOutput", "Long side binding", "Reliure côté long"},
    {"QPrintSettingsOutput", "Short side binding", "Reliure côté court"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers "
     "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Pages ou plages de pages séparées par des virgules, une plage étant deux numéros "
     "séparés par un tiret. Par exemple, 3,5-7,9 imprime les pages 3, 5, 6, 7 et 9."},
    {"QAbstractFileIconProvider", "Folder", "Dossier"},
    {"QAbstractFileIconProvider", "Drive", "Lecteur"},
    {"QAbstractFileIconProvider", "Unknown", "Inconnu"},
};

// Asked before Qt's catalogue; an empty answer lets Qt go on to that catalogue.
class QtTextsMissingInFrench : public QTranslator {
  public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char*,
                      int) const override {
        if (!context || !sourceText)
            return {};
        for (const MissingText& text : missingTexts)
            if (std::strcmp(text.context, context) == 0 &&
                std::strcmp(text.source, sourceText) == 0)
                return QString::fromUtf8(text.french);
        return {};
    }
    bool isEmpty() const override { return false; }
};
} // namespace

void InstallFrenchTranslations(QObject& owner) {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto* catalogue = new QTranslator(&owner);
    if (catalogue->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(catalogue);
    // Installed last, so asked first.
    QCoreApplication::installTranslator(new QtTextsMissingInFrench(&owner));
}
