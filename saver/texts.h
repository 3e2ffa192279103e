// The front end's texts. What the user sees is UTF-8, turned into UTF-16 for the wide functions so
// that it reads the same whatever the system's code page. What is stored (the settings keys) and
// the two texts the music player gives for a failed media command are Shift-JIS (code page 932)
// bytes, each with a comment showing the text.
#pragma once
#include "common/version.h"
#include "saver/ansi_text.h"

namespace texts {

// The typeface of every label and button caption.
inline constexpr const char* captionTypeface = "ＭＳ Ｐゴシック";
// The settings dialog: the credit line and the address of the project's page.
inline constexpr const char* creditLine = "Designed by Vitrelux Ver." VITRELUX_VERSION_TEXT;
inline constexpr const char* projectAddress = "https://vitrelux.example.org/";
inline constexpr const char* panelTitle = "BGM";
// The three music sources, in the order of their codes.
inline constexpr const char* sourceCaptions[] = {"なし", "音楽CD", "MP3、WAV"};
inline constexpr const char* repeatCaption = "曲目をﾘﾋﾟｰﾄ";
inline constexpr const char* fileFilterName = "BGMﾌｧｲﾙ (MP3 WAV)";
inline constexpr const char* fileFilterPattern = "*.MP3;*.WAV";
inline constexpr const char* fileChooserTitle = "ﾌｧｲﾙを開く";
inline constexpr const char* rendererMissingText = "Vitrelux.dll が同じﾌｫﾙﾀﾞに見つかりません！";
// The file chooser's choice, when the system's code page cannot spell the file's name.
inline constexpr const char* unspellableNameText = "選んだﾌｧｲﾙの名前には、このｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字があります。"
                                                   "別のﾌｧｲﾙを選ぶか、ﾌｧｲﾙの名前を変えてください。";
// The file chooser's choice, when its path is longer than the system's file functions open.
inline constexpr const char* nameTooLongText = "選んだﾌｧｲﾙの場所を示す名前が長すぎて、設定に残せません。"
                                               "浅いﾌｫﾙﾀﾞに移すか、別のﾌｧｲﾙを選んでください。";
// "設定" pressed, when neither the program's folder nor the user's own folder took the settings.
inline constexpr const char* notKeptText = "設定を保存できませんでした。"
                                           "ﾌｫﾙﾀﾞへの書き込みが許されているか、ﾃﾞｨｽｸに空きがあるかを確かめてください。";
// The caption of the front end's messages: the product name, which serves as the application's title.
inline constexpr const char* messageCaption = "Vitrelux (ScreenSaver)";

// BGM区分
inline constexpr ShiftJisText keyMusicSource{"BGM\x8B\xE6\x95\xAA"};
// BGMﾘﾋﾟｰﾄ
inline constexpr ShiftJisText keyRepeatTrack{"BGM\xD8\xCB\xDF\xB0\xC4"};
// BGMﾌｧｲﾙ
inline constexpr ShiftJisText keyMusicFile{"BGM\xCC\xA7\xB2\xD9"};
// コマンド文字列が指定されていません
inline constexpr ShiftJisText mciEmptyCommandText{"\x83R\x83}\x83\x93\x83h\x95\xB6\x8E\x9A\x97\xF1\x82\xAA\x8Ew\x92\xE8\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1"};
// Error (文字列が取れません)
inline constexpr ShiftJisText mciNoErrorText{"Error (\x95\xB6\x8E\x9A\x97\xF1\x82\xAA\x8E\xE6\x82\xEA\x82\xDC\x82\xB9\x82\xF1)"};

} // namespace texts
