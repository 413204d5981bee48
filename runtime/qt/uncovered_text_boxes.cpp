#include "runtime/qt/uncovered_text_boxes.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegion>
#include <QTabWidget>

#include <vector>

#include "runtime/qt/window_builder.h"

namespace brindle::runtime::qt {
namespace {

void cut_away_text_boxes(QTabWidget& tabs, const std::vector<QPointer<QWidget>>& above) {
    if (tabs.currentIndex() < 0) return;
    QWidget* page = page_widget(tabs, tabs.currentIndex());
    QWidget* window = tabs.parentWidget();
    std::vector<QRect> boxes;
    for (QWidget* box : page->findChildren<QWidget*>()) {
        if (!qobject_cast<QLineEdit*>(box) && !qobject_cast<QPlainTextEdit*>(box)) continue;
        if (box->isVisibleTo(page)) boxes.emplace_back(box->mapTo(window, QPoint(0, 0)), box->size());
    }
    for (QWidget* widget : above) {
        if (!widget) continue;
        QRegion shown(widget->rect());
        for (const QRect& box : boxes) shown -= box.translated(-widget->pos());
        if (shown == QRegion(widget->rect())) widget->clearMask();
        else widget->setMask(shown);
    }
}

}  // namespace

void keep_text_boxes_uncovered(QTabWidget& tabs) {
    QWidget* window = tabs.parentWidget();
    if (!window) return;
    std::vector<QPointer<QWidget>> above;
    for (QWidget* sibling : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (sibling != &tabs && sibling->geometry().intersects(tabs.geometry())) above.emplace_back(sibling);
    if (above.empty()) return;
    cut_away_text_boxes(tabs, above);
    // Connected after the tab control's own handler, which builds a page before it is shown.
    QObject::connect(&tabs, &QTabWidget::currentChanged, &tabs, [&tabs, above] { cut_away_text_boxes(tabs, above); });
}

}  // namespace brindle::runtime::qt
