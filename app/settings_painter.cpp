// The settings screen's picture, drawn with the program's own lettering in
// the colours of the game's night sky and lamps.

#include "app/settings_painter.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/screen_text.h"

namespace {

constexpr uint16_t black = 0x0000;
constexpr uint16_t panelColour = 0x0884;   // deep night blue
constexpr uint16_t borderColour = 0x5B72;  // moonlit steel
constexpr uint16_t rowShade = 0xCCA5;      // the searchlight's amber
constexpr uint16_t headingColour = 0xFE4A;
constexpr uint16_t labelColour = 0xFFFF;
constexpr uint16_t valueColour = 0xFEF0;
constexpr uint16_t messageColour = 0x969F;
constexpr uint16_t helpColour = 0x94B4;

constexpr int panelX = 32;
constexpr int panelY = 16;
constexpr int panelWidth = 640 - 2 * panelX;
constexpr int panelHeight = 480 - 2 * panelY;
constexpr int rowsTop = 66;
constexpr int rowHeight = 22;
constexpr int rowX = panelX + 12;
constexpr int rowWidth = panelWidth - 24;
constexpr int labelX = rowX + 12;
constexpr int valueRight = rowX + rowWidth - 12;
constexpr int messageTop = rowsTop + static_cast<int>(visibleRows) * rowHeight + 4;
constexpr int messageLines = 4;
constexpr int buttonWidth = 96;
constexpr int buttonHeight = 28;
constexpr int buttonX = panelX + panelWidth - 12 - buttonWidth;
constexpr int buttonY = panelY + panelHeight - 10 - buttonHeight;
constexpr std::string_view lessArrow = "<  ";
constexpr std::string_view moreArrow = "  >";

bool inside(platform::PicturePoint point, int x, int y, int width, int height) {
    return point.x >= x && point.x < x + width && point.y >= y && point.y < y + height;
}

// The message's lines, broken between words to fit the panel.
std::vector<std::string> wrapped(const std::string& text, int width) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line;
        size_t word = start;
        while (word < end) {
            size_t next = text.find(' ', word);
            if (next == std::string::npos || next > end) next = end;
            const std::string piece = text.substr(word, next - word);
            const std::string longer = line.empty() ? piece : line + " " + piece;
            if (!line.empty() && textWidth(longer) > width) {
                lines.push_back(line);
                line = piece;
            } else {
                line = longer;
            }
            word = next + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Where the "<" of the player's row begins, when its value steps.
int lessArrowX(const ScreenRow& row) {
    return valueRight - textWidth(moreArrow) - textWidth(row.value) - textWidth(lessArrow);
}

void paintRow(platform::Surface& target, const ScreenRow& row, int y, bool selected) {
    if (selected) shadeRect(target, rowX, y, rowWidth, rowHeight, rowShade, 110);
    const int textY = y + (rowHeight - textHeight()) / 2;
    drawText(target, labelX, textY, row.label, labelColour);
    if (row.value.empty()) return;
    if (selected && row.steps) {
        const int x = lessArrowX(row);
        drawText(target, x, textY, lessArrow, valueColour);
        drawText(target, x + textWidth(lessArrow), textY, row.value, valueColour);
        drawText(target, valueRight - textWidth(moreArrow), textY, moreArrow, valueColour);
        return;
    }
    drawText(target, valueRight - textWidth(row.value), textY, row.value, valueColour);
}

}  // namespace

size_t firstShownRow(size_t top, size_t selected, size_t count) {
    if (count <= visibleRows) return 0;
    if (selected < top) return selected;
    if (selected >= top + visibleRows) return selected + 1 - visibleRows;
    return std::min(top, count - visibleRows);
}

void paintSettingsScreen(platform::Surface& target, const platform::Surface& under,
                         const SettingsScreenModel& model, size_t top) {
    if (target.pixels.size() == under.pixels.size()) target.pixels = under.pixels;
    shadeRect(target, 0, 0, target.width, target.height, black, 128);
    fillRect(target, panelX - 1, panelY - 1, panelWidth + 2, panelHeight + 2, borderColour);
    fillRect(target, panelX, panelY, panelWidth, panelHeight, panelColour);
    drawText(target, labelX, panelY + 8, model.heading(), headingColour, TextSize::large);

    const std::vector<ScreenRow>& rows = model.rows();
    for (size_t i = top; i < rows.size() && i < top + visibleRows; ++i) {
        paintRow(target, rows[i], rowsTop + static_cast<int>(i - top) * rowHeight,
                 i == model.selected());
    }
    // A page longer than the panel says which of its rows show.
    if (rows.size() > visibleRows) {
        const std::string shownRows = std::to_string(top + 1) + "-" +
                                      std::to_string(std::min(top + visibleRows, rows.size())) +
                                      " of " + std::to_string(rows.size());
        drawText(target, valueRight - textWidth(shownRows), panelY + 20, shownRows, helpColour);
    }

    const std::vector<std::string> lines = wrapped(model.message(), rowWidth - 24);
    for (size_t i = 0; i < lines.size() && i < messageLines; ++i) {
        drawText(target, labelX, messageTop + 4 + static_cast<int>(i) * (textHeight() + 1),
                 lines[i], messageColour);
    }

    const std::string_view help = model.capturing() == BindingKind::key ? "Escape keeps the old one"
                                  : model.capturing() ? "Escape, or ten seconds, keeps the old one"
                                                      : "Arrows: choose, change   Return: do   "
                                                        "Escape: back";
    drawText(target, labelX, buttonY + (buttonHeight - textHeight()) / 2, help, helpColour);
    fillRect(target, buttonX - 1, buttonY - 1, buttonWidth + 2, buttonHeight + 2, borderColour);
    fillRect(target, buttonX, buttonY, buttonWidth, buttonHeight, panelColour);
    drawText(target, buttonX + (buttonWidth - textWidth("Back")) / 2,
             buttonY + (buttonHeight - textHeight()) / 2, "Back", labelColour);
}

PointerTarget pointerTarget(platform::PicturePoint point, const SettingsScreenModel& model,
                            size_t top) {
    PointerTarget target;
    if (inside(point, buttonX, buttonY, buttonWidth, buttonHeight)) {
        target.what = PointerTarget::What::back;
        return target;
    }
    if (!inside(point, rowX, rowsTop, rowWidth, static_cast<int>(visibleRows) * rowHeight)) {
        return target;
    }
    const size_t row = top + static_cast<size_t>((point.y - rowsTop) / rowHeight);
    const std::vector<ScreenRow>& rows = model.rows();
    if (row >= rows.size()) return target;
    target.row = row;
    target.what = PointerTarget::What::row;
    // The "<" of the player's row steps down; anywhere else on it, on.
    if (row == model.selected() && rows[row].steps) {
        const int x = lessArrowX(rows[row]);
        if (point.x >= x - 8 && point.x < x + textWidth(lessArrow)) {
            target.what = PointerTarget::What::lessArrow;
        }
    }
    return target;
}
