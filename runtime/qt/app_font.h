#pragma once
// One font for every control, chosen so that Chinese captions read well at the controls' pixel sizes.
namespace brindle::runtime::qt {

// Sets the application font to the first installed CJK family; keeps Qt's default otherwise.
void apply_application_font();

}  // namespace brindle::runtime::qt
