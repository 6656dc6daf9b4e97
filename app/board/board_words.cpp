#include "app/board/board_words.h"

namespace mervox {

namespace {

std::u16string Number(long long n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

namespace {

std::u16string JapaneseWords(const BoardStatus& s) {
    const std::u16string kept = Number(s.kept) + u"ゲーム保存";
    switch (s.kind) {
        case BoardStatusKind::Off: return u"";
        case BoardStatusKind::Idle: return s.kept > 0 ? u"ボード: " + kept : u"";
        case BoardStatusKind::Sending: return u"ボード: 送信中 \u2014 " + kept;
        case BoardStatusKind::Verified:
            if (!s.copiedFrom.empty()) return u"ボード: 確認済み \u2014 序盤が既存の記録と同じため順位なし";
            if (s.rank <= 0) return u"ボード: 確認済み";
            return u"ボード: 確認済み \u2014 " + Number(s.total) + u"人中" + Number(s.rank) + u"位";
        case BoardStatusKind::Waiting: {
            const char16_t* cause = s.cause == BoardFault::Busy            ? u"ボードが混雑しています"
                                    : s.cause == BoardFault::NotUnderstood ? u"ボードの応答が読めません"
                                    : s.cause == BoardFault::None          ? u"保存したゲームが読めません"
                                                                           : u"ボードの応答がありません";
            return u"ボード: 待機中 \u2014 " + kept + u"、" + cause;
        }
        case BoardStatusKind::Refused:
            if (s.nameRefused) return u"ボード: 拒否 \u2014 この名前は他のプレイヤーのものです";
            return u"ボード: 拒否 \u2014 " + WordsFromUtf8(s.reason);
    }
    return u"";
}

}  // namespace

std::u16string WordsFromUtf8(const std::string& text, size_t limit) {
    std::u16string out;
    size_t i = 0;
    size_t shown = 0;
    while (i < text.size() && shown < limit) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool good = extra >= 0 && i + static_cast<size_t>(extra) < text.size();
        for (int k = 1; good && k <= extra; ++k) {
            const unsigned char cb = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((cb & 0xC0) != 0x80) good = false;
            else c = (c << 6) | (cb & 0x3F);
        }
        const char32_t least[4] = {0, 0x80, 0x800, 0x10000};
        if (good && (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) good = false;
        if (!good) {
            out += u'\uFFFD';
            i += 1;
        } else {
            if (c >= 0x10000) {
                c -= 0x10000;
                out += static_cast<char16_t>(0xD800 + (c >> 10));
                out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
            } else if (c < 0x20) {
                out += u' ';  // no control characters on the screen
            } else {
                out += static_cast<char16_t>(c);
            }
            i += static_cast<size_t>(extra) + 1;
        }
        shown += 1;
    }
    if (i < text.size()) out += u'\u2026';
    return out;
}

std::u16string BoardStatusWords(const BoardStatus& s, TextLanguage language) {
    if (language == TextLanguage::Japanese) return JapaneseWords(s);
    if (s.kind == BoardStatusKind::Off || (s.kind == BoardStatusKind::Idle && s.kept == 0)) return u"";
    return WordsFromUtf8(DescribeBoardStatus(s), 200);
}

}  // namespace mervox

namespace mervox {

namespace {

constexpr BoardScreenWords kBoardWords[2] = {
    {u"ボード", u"読み込み中…", u"ダウンロード中…", u"まだ記録がありません", {u"順位", u"名前", u"スコア", u"レベル"},
     u"あなた: ", u"確認済みの記録なし", u"{menu_up}{menu_down} 選ぶ   {menu_change} 見る   {menu_back} {board} 戻る", u"{board} : ボード"},
    {u"BOARD", u"Loading\u2026", u"Downloading\u2026", u"No ranked round yet", {u"rank", u"name", u"score", u"level"},
     u"You: ", u"no verified round yet", u"{menu_up}/{menu_down} choose   {menu_change} watch   {menu_back}/{board} back",
     u"{board} : BOARD"},
};

}  // namespace

const BoardScreenWords& BoardWords(TextLanguage language) {
    return kBoardWords[language == TextLanguage::English ? 1 : 0];
}

std::u16string StandingWords(int rank, int total, long long best, int level, TextLanguage language) {
    if (language == TextLanguage::Japanese)
        return Number(total) + u"人中" + Number(rank) + u"位、ベスト " + Number(best) + u" (レベル " +
               Number(level) + u")";
    return WordsFromUtf8(Ordinal(rank) + " of " + std::to_string(total) + ", best " + std::to_string(best) +
                         " (level " + std::to_string(level) + ")");
}

}  // namespace mervox
