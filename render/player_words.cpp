#include "render/player_words.h"

namespace mervox {

const char* const kEnglishFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

namespace {

constexpr int kEnglishCaptions = 4;
constexpr const char16_t* kEnglishCaptionLines[kEnglishCaptions][2] = {
    {u"Push blocks with the arrows. Three of one colour touching vanish.",
     u"Kick with Z, jump onto a block with X, turn the board with Q and E."},
    {u"Before a group has vanished, bring another block of its colour",
     u"against it: it joins in a chain, and a chain scores more."},
    {u"A kicked block (Z) slides until it hits a wall or another block:",
     u"kick from afar to join colours across the board."},
    {u"Clear the level's quota (top right) to level up and win more time.",
     u"When the time left reaches 0 the game is over."},
};

constexpr QuestionWords kQuestion[2] = {
    {u"フルスクリーンモードで起動しますか？", u"はい", u"いいえ", u"← →  Enter"},
    {u"Play on the full screen?", u"Yes", u"No", u"Arrows choose, Enter answers, Esc: no"},
};

constexpr OptionsWords kOptions[2] = {
    {u"オプション", u"色のマーク", u"言語", u"ウィンドウの描画", u"オン", u"オフ", u"デスクトップ",
     u"日本語", u"English", u"くっきり", u"クラシック",
     u"↑↓ 選ぶ   ←→ Z 変える   Esc O 戻る", u"O : オプション", u"ボードに送信", u"ボード: ",
     u"  名前: ", u"ボード: なし (options.txt の board と player)"},
    {u"OPTIONS", u"Colour marks", u"Language", u"Window drawing", u"on", u"off", u"as desktop",
     u"日本語", u"English", u"sharp", u"classic",
     u"Up/Down choose   Left/Right/Z change   Esc/O back", u"O : OPTIONS", u"Send games to the board",
     u"Board: ", u"  as ", u"No board: set board and player in options.txt"},
};

int Index(TextLanguage l) { return l == TextLanguage::English ? 1 : 0; }

}  // namespace

const char16_t* EnglishCaptionLine(int caption, int line) {
    if (caption < 0 || caption >= kEnglishCaptions || line < 0 || line > 1) return u"";
    return kEnglishCaptionLines[caption][line];
}

const QuestionWords& FullScreenQuestionWords(TextLanguage language) { return kQuestion[Index(language)]; }

const OptionsWords& OptionsScreenWords(TextLanguage language) { return kOptions[Index(language)]; }

}  // namespace mervox
