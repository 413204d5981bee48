#pragma once
// DedeCMS's Html2Text, which makes a summary of an article page's text: <style>, <script> and
// comments go, every other tag becomes one space, control bytes go, as do "&...;" sequences (and
// "&...&"), ideographic spaces become spaces, and runs of spaces become one.
#include <string>
#include <string_view>

namespace brindle::dede {

std::string html_to_text(std::string_view html);

}  // namespace brindle::dede
