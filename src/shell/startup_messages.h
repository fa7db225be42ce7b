#pragma once
// The start-up messages, in Shift-JIS as the engine shows every text.

namespace qln {

// "スタートアップシナリオが読み込めません！"
inline constexpr char kMsgStartupLoad[] =
    "\x83X\x83^\x81[\x83g\x83"
    "A\x83"
    "b\x83v\x83V\x83i\x83\x8A\x83I\x82\xAA\x93\xC7\x82\xDD\x8D"
    "\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x81I";
// "ウインドウの確保ができません！"
inline constexpr char kMsgScreen[] =
    "\x83"
    "E\x83"
    "C\x83\x93\x83h\x83"
    "E\x82\xCC\x8Am\x95\xDB\x82\xAA\x82\xC5\x82\xAB\x82\xDC"
    "\x82\xB9\x82\xF1\x81I";
// "システムの初期化ができません！"
inline constexpr char kMsgSystem[] =
    "\x83V\x83X\x83"
    "e\x83\x80\x82\xCC\x8F\x89\x8A\xFA\x89\xBB\x82\xAA\x82\xC5\x82\xAB\x82\xDC"
    "\x82\xB9\x82\xF1\x81I";
// No font at all: said once at start, in English (plain ASCII is Shift-JIS
// too), naming what to install; the game then runs without text.
inline constexpr char kMsgNoFont[] =
    "No font was found, so no text can be shown.\n"
    "Install the packages fonts-ipafont-gothic, fonts-ipafont-mincho and\n"
    "fonts-dejavu-core (or any Japanese font fontconfig can find).";

// The folder of --save-dir cannot be made (plain ASCII is Shift-JIS too).
inline constexpr char kMsgSaveFolder[] = "The save folder (--save-dir) cannot be created.";

// The Japanese faces are missing and fontconfig's stand-in (named by %s)
// draws the text: said once at start, in English, naming what to install.
inline constexpr char kMsgFontStandIn[] =
    "The Japanese fonts were not found, so text is drawn with \"%s\" instead\n"
    "and may not look or fit as the game intends.\n"
    "Install the packages fonts-ipafont-gothic and fonts-ipafont-mincho.";

// "バッファの確保ができません！"
inline constexpr char kMsgBuffers[] =
    "\x83o\x83"
    "b\x83t\x83@\x82\xCC\x8Am\x95\xDB\x82\xAA\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1"
    "\x81I";
// "指定されたスタートアップシナリオが有効ではない。\nFILE:[%s]\n\n
//  ファイル指定を無視して続行しますか？"
inline constexpr char kMsgIgnoreCommandLine[] =
    "\x8Ew\x92\xE8\x82\xB3\x82\xEA\x82\xBD\x83X\x83^\x81[\x83g\x83"
    "A\x83"
    "b\x83v\x83V\x83i\x83"
    "\x8A\x83I\x82\xAA\x97L\x8C\xF8\x82\xC5\x82\xCD\x82\xC8\x82\xA2\x81"
    "B\nFILE:[%s]\n\n\x83t"
    "\x83@\x83"
    "C\x83\x8B\x8Ew\x92\xE8\x82\xF0\x96\xB3\x8E\x8B\x82\xB5\x82\xC4\x91\xB1\x8Ds\x82"
    "\xB5\x82\xDC\x82\xB7\x82\xA9\x81H";
// "有効なスタートアップシナリオが見つかりません。\n次のいずれかを置いてください：\n
//  start_up.qln\nstart_up.gpc（エントリ1）\nstart_up.qsc（エントリ1）"
inline constexpr char kMsgNoCandidate[] =
    "\x97L\x8C\xF8\x82\xC8\x83X\x83^\x81[\x83g\x83"
    "A\x83"
    "b\x83v\x83V\x83i\x83\x8A\x83I\x82"
    "\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81"
    "B\n\x8E\x9F\x82\xCC\x82"
    "\xA2\x82\xB8\x82\xEA\x82\xA9\x82\xF0\x92u\x82\xA2\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2"
    "\x81"
    "F\nstart_up.qln\nstart_up.gpc\x81i\x83G\x83\x93\x83g\x83\x8A"
    "1\x81j\nstart_up.qsc"
    "\x81i\x83G\x83\x93\x83g\x83\x8A"
    "1\x81j";

}  // namespace qln
