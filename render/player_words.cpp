#include "render/player_words.h"

#include "save/key_names.h"

namespace mervox {

const char* const kEnglishFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

namespace {

constexpr int kEnglishCaptions = 4;
constexpr const char16_t* kEnglishCaptionLines[kEnglishCaptions][2] = {
    {u"Push blocks with the arrows. Three of one colour touching vanish.",
     u"Kick with {kick}, jump onto a block with {jump}, turn the board with {turn_left} and {turn_right}."},
    {u"Before a group has vanished, bring another block of its colour",
     u"against it: it joins in a chain, and a chain scores more."},
    {u"A kicked block ({kick}) slides until it hits a wall or another block:",
     u"kick from afar to join colours across the board."},
    {u"Clear the level's quota (top right) to level up and win more time.",
     u"When the time left reaches 0 the game is over."},
};

constexpr QuestionWords kQuestion[2] = {
    {u"フルスクリーンモードで起動しますか？", u"はい", u"いいえ", u"{menu_left} {menu_right}  {menu_change:Return}"},
    {u"Play on the full screen?", u"Yes", u"No", u"Arrows choose, {menu_change:Return} answers, {menu_back}: no"},
};

constexpr OptionsWords kOptions[2] = {
    {u"オプション", u"色のマーク", u"言語", u"ウィンドウの描画", u"オン", u"オフ", u"デスクトップ",
     u"日本語", u"English", u"くっきり", u"クラシック",
     u"{menu_up}{menu_down} 選ぶ   {menu_left}{menu_right} {menu_change} 変える   {menu_back} {options} 戻る",
     u"{options} : オプション", u"ボードに送信", u"ボード: ",
     u"  名前: ", u"ボード: なし (options.txt の board と player)"},
    {u"OPTIONS", u"Colour marks", u"Language", u"Window drawing", u"on", u"off", u"as desktop",
     u"日本語", u"English", u"sharp", u"classic",
     u"{menu_up}/{menu_down} choose   {menu_left}/{menu_right}/{menu_change} change   {menu_back}/{options} back",
     u"{options} : OPTIONS", u"Send games to the board",
     u"Board: ", u"  as ", u"No board: set board and player in options.txt"},
};

int Index(TextLanguage l) { return l == TextLanguage::English ? 1 : 0; }

// The action of a word of controls.txt; false for a word of none.
bool ActionOfWord(const std::string& word, ControlAction& a) {
    for (ControlAction k : kControlActions)
        if (word == ControlActionWord(k)) {
            a = k;
            return true;
        }
    return false;
}

// The key of "{word}" or "{word:Name}" (`inner` is what the braces hold),
// in `language`; the braces as written when the word names no action.
std::u16string KeyOfPlaceholder(const std::string& inner, TextLanguage language, const Controls& keys) {
    const size_t colon = inner.find(':');
    const std::string word = inner.substr(0, colon);
    const std::string preferred = colon == std::string::npos ? "" : inner.substr(colon + 1);
    ControlAction a;
    if (!ActionOfWord(word, a)) return u"{" + std::u16string(inner.begin(), inner.end()) + u"}";
    const std::string name = BoundKeyName(keys, a, preferred.empty() ? nullptr : preferred.c_str());
    if (language == TextLanguage::Japanese) {
        static const struct {
            const char* name;
            const char16_t* arrow;
        } kArrows[] = {{"Left", u"\u2190"}, {"Up", u"\u2191"}, {"Right", u"\u2192"}, {"Down", u"\u2193"}};
        for (const auto& k : kArrows)
            if (name == k.name) return k.arrow;
    }
    return std::u16string(name.begin(), name.end());  // key names are ASCII
}

bool IsArrow(const std::u16string& key) { return key.size() == 1 && key[0] >= u'\u2190' && key[0] <= u'\u2193'; }

}  // namespace

std::u16string WithBoundKeys(const char16_t* text, TextLanguage language, const Controls& keys) {
    std::u16string out;
    std::u16string lastKey;  // the key just written, when nothing followed it yet
    for (const char16_t* p = text; *p != 0;) {
        const char16_t* close = *p == u'{' ? p + 1 : nullptr;
        while (close != nullptr && *close != 0 && *close != u'}') ++close;
        if (close == nullptr || *close == 0) {
            out += *p++;
            lastKey.clear();
            continue;
        }
        std::string inner;  // the words are ASCII
        for (const char16_t* c = p + 1; c != close; ++c) inner += static_cast<char>(*c);
        const std::u16string key = KeyOfPlaceholder(inner, language, keys);
        if (!lastKey.empty() && !(IsArrow(lastKey) && IsArrow(key))) out += u' ';
        out += key;
        lastKey = key;
        p = close + 1;
    }
    return out;
}

std::u16string EnglishCaptionLine(int caption, int line, const Controls& keys) {
    if (caption < 0 || caption >= kEnglishCaptions || line < 0 || line > 1) return u"";
    return WithBoundKeys(kEnglishCaptionLines[caption][line], TextLanguage::English, keys);
}

const QuestionWords& FullScreenQuestionWords(TextLanguage language) { return kQuestion[Index(language)]; }

const OptionsWords& OptionsScreenWords(TextLanguage language) { return kOptions[Index(language)]; }

}  // namespace mervox
