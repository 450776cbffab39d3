#pragma once
// Pieces every HTML drawing of the phone shares: text made safe for a page, numbers as CSS
// lengths, colours, and an application's icon.

#include <string>
#include <string_view>

namespace platform::uikit {
struct ColorComponents;
}

namespace sim {

// `text` as HTML text or as a quoted attribute's value: markup characters become character
// references, and what a page cannot hold (control bytes, bytes that are not UTF-8) is escaped
// as the transcript escapes it ("\x1b"). A message holding markup shows as that text.
std::string htmlText(std::string_view text);

// A length in CSS pixels, one point each: "12.5px".
std::string px(double points);

// A colour for CSS: "rgba(113,162,234,1)".
std::string cssColour(const platform::uikit::ColorComponents& colour);

// Appends the icon of the application `bundleIdentifier` at `size` points: a rounded square
// of a colour of its own with the first letter of its name, titled with the name.
void drawApplicationIcon(const std::string& bundleIdentifier, double size, std::string& html);

}  // namespace sim
