#include "runtime/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace brindle::runtime::qt {
namespace {

// Qt's catalogue says 撤消 for Undo, the older variant; the window and the desktop it imitates say 撤销.
// Asked before Qt's catalogue; everything else falls through to it.
class PreferredTerms : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char*, const char* source, const char*, int) const override {
        return qstrcmp(source, "&Undo") == 0 ? QStringLiteral("撤销(&U)") : QString();
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

void load_chinese_qt_texts() {
    QCoreApplication* app = QCoreApplication::instance();
    // The catalogue is mapped, not read, so this costs next to nothing at start.
    auto* catalogue = new QTranslator(app);
    if (!catalogue->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalogue;
        return;
    }
    QCoreApplication::installTranslator(catalogue);
    QCoreApplication::installTranslator(new PreferredTerms(app));
}

}  // namespace brindle::runtime::qt
