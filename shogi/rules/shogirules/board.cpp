#include "shogirules/board.h"

#include <array>
#include <cstdint>

namespace shogi {

namespace {

constexpr int kEmptyValue = 15;
constexpr int kSideTwoOffset = 16;
constexpr int kMaxItemValue = 30;

// Each character's value as a hexadecimal digit, -1 for any other: a board
// of 81 items comes with every move.
constexpr std::array<std::int8_t, 128> kHexValue = [] {
    std::array<std::int8_t, 128> values{};
    for (int c = 0; c < 128; ++c) {
        values[std::size_t(c)] = c >= '0' && c <= '9'   ? std::int8_t(c - '0')
                                 : c >= 'A' && c <= 'F' ? std::int8_t(c - 'A' + 10)
                                 : c >= 'a' && c <= 'f' ? std::int8_t(c - 'a' + 10)
                                                        : std::int8_t(-1);
    }
    return values;
}();

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    return u < kHexValue.size() ? kHexValue[u] : -1;
}

}  // namespace

Board Board::initial() {
    // Read once: every game, and every position made before it is filled,
    // starts from it.
    static const Board start = [] {
        Board board;
        const auto error = board.load(kInitialPositionString);
        Q_ASSERT(!error);
        return board;
    }();
    return start;
}

namespace {

// The cell of each item value.
constexpr std::array<Cell, kMaxItemValue + 1> kCellOfValue = [] {
    std::array<Cell, kMaxItemValue + 1> cells{};
    for (int value = 0; value <= kMaxItemValue; ++value) {
        cells[std::size_t(value)] = value == kEmptyValue ? Cell::empty()
                                    : value > kEmptyValue
                                        ? Cell::opp(static_cast<Kind>(value - kSideTwoOffset))
                                        : Cell::own(static_cast<Kind>(value));
    }
    return cells;
}();

std::optional<Cell> cellOfValue(int value) {
    if (value < 0 || value > kMaxItemValue) return std::nullopt;
    return kCellOfValue[std::size_t(value)];
}

// The two-digit item every program writes, read without a loop: a board
// comes with every move.
std::optional<Cell> decodeTwoDigits(QChar high, QChar low) {
    const int h = hexDigit(high);
    const int l = hexDigit(low);
    if (h < 0 || l < 0) return std::nullopt;
    return cellOfValue(h * 16 + l);
}

}  // namespace

std::optional<Cell> decodeCell(QStringView item) {
    if (item.isEmpty() || item.size() > 2) return std::nullopt;
    int value = 0;
    for (QChar c : item) {
        const int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return cellOfValue(value);
}

namespace {

// Each item value as two upper-case hexadecimal digits.
constexpr auto kItemTexts = [] {
    std::array<std::array<char, 2>, kMaxItemValue + 1> items{};
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int value = 0; value <= kMaxItemValue; ++value)
        items[std::size_t(value)] = {kDigits[value >> 4], kDigits[value & 0xF]};
    return items;
}();

// A cell's item, written at `out` (QChar or Latin-1 char); past them.
template <typename Char>
Char* writeCell(Char* out, Cell cell) {
    const int value = kindIndex(cell.kind()) + (cell.isOppPiece() ? kSideTwoOffset : 0);
    const auto& item = kItemTexts[std::size_t(value)];
    *out++ = Char(item[0]);
    *out++ = Char(item[1]);
    return out;
}

// The items of all cells, a comma between, written at `out`; past them.
template <typename Char>
Char* writeCells(Char* out, const Board& board) {
    for (int k = 0; k < kCellCount; ++k) {
        if (k > 0) *out++ = Char(',');
        out = writeCell(out, board.atNumber(k));
    }
    return out;
}

}  // namespace

QString encodeCell(Cell cell) {
    QString text(2, Qt::Uninitialized);
    writeCell(text.data(), cell);
    return text;
}

std::optional<PositionError> Board::load(QStringView positionString) {
    std::array<Cell, kCellCount> cells{};
    // The form every program sends, two digits an item, read at fixed
    // places; anything else item by item below (an item refused here is
    // refused there too).
    if (positionString.size() == kPositionStringSize) {
        const QChar* p = positionString.data();
        int k = 0;
        for (; k < kCellCount; ++k, p += 3) {
            if (k + 1 < kCellCount && p[2] != u',') break;
            const auto cell = decodeTwoDigits(p[0], p[1]);
            if (!cell) return PositionError::BadItem;
            cells[static_cast<std::size_t>(k)] = *cell;
        }
        if (k == kCellCount) {
            cells_ = cells;
            return std::nullopt;
        }
    }
    int count = 0;
    // The items between commas, empty ones too (a board comes with every
    // move: no search routine per item).
    const QChar* const end = positionString.data() + positionString.size();
    for (const QChar* item = positionString.data();; ++item) {
        const QChar* comma = item;
        while (comma != end && *comma != u',')
            ++comma;
        if (count == kCellCount) return PositionError::ItemCount;
        const auto cell = comma - item == 2 ? decodeTwoDigits(item[0], item[1])
                                            : decodeCell(QStringView(item, comma));
        if (!cell) return PositionError::BadItem;
        cells[static_cast<std::size_t>(count++)] = *cell;
        if (comma == end) break;
        item = comma;
    }
    if (count != kCellCount) return PositionError::ItemCount;
    cells_ = cells;
    return std::nullopt;
}

QString Board::positionString() const {
    // Two digits a cell and a comma between: written in place.
    QString text(kPositionStringSize, Qt::Uninitialized);
    writeCells(text.data(), *this);
    return text;
}

char* Board::writePositionString(char* out) const {
    return writeCells(out, *this);
}

Board Board::rotated() const {
    Board turned;
    for (int k = 0; k < kCellCount; ++k) {
        const Cell c = atNumber(k);
        const Cell other = c.isEmpty() ? c : Cell(c.kind(), c.isOwnPiece() ? Side::Opp : Side::Own);
        turned.cells_[static_cast<std::size_t>(kCellCount - 1 - k)] = other;
    }
    return turned;
}

}  // namespace shogi
