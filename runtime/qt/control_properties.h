#pragma once
// Control properties by number, as routines read and write them: 5 visible, 8 text or caption,
// 18 checked, 19 selection. Texts cross as image bytes (GBK in, GB18030 out).
#include <string>

#include <QString>

#include "common/result.h"
#include "runtime/qt/window_builder.h"
#include "runtime/ui.h"

class QLabel;
class QPlainTextEdit;

namespace brindle::runtime::qt {

Result<PropertyValue> read_control_property(const BuiltControl& control, uint32_t property);
Result<void> write_control_property(const BuiltControl& control, uint32_t property, const PropertyValue& value);

// A multi-line box's text, CR LF between lines. Qt lays out each paragraph whole, at a few
// microseconds a character, so a line longer than kFoldAt characters is shown folded into pieces
// that reading joins again: a 10 MB line takes well under a second instead of minutes.
inline constexpr qsizetype kFoldAt = 4096;
void set_multiline_text(QPlainTextEdit& edit, const QString& text);
QString multiline_text(const QPlainTextEdit& edit);

// A hyperlink label's caption and address (the address stands in for an empty caption).
void set_hyperlink(QLabel& label, const QString& caption, const QString& address);

std::string kind_name(uint32_t kind);
// "a label", "an edit box".
std::string a_kind(uint32_t kind);

}  // namespace brindle::runtime::qt
