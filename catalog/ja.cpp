// 日本語の文言。波かっこの中はプログラムが埋める値です。どれも消さずに残してください。
#include "catalog/catalog.hpp"

namespace velmorta {
namespace {

constexpr Entry kJapanese[] = {
    {Text::ConverterUsage,
     "使い方: velmorta BASE\n"
     "パッドファイル BASE.pad を 6 つのガーバーファイルと 1 つのドリルファイルに変換し、\n"
     "実行ログ BASE_.vel を書きます。設定、出力ファイル名と出力先は、プログラムと同じ\n"
     "フォルダにある設定ファイル（プログラム名の拡張子を cfg にしたもの）から読みます。\n"
     "\n"
     "  -h, --help   この説明を表示して終了します\n"
     "  --version    バージョンを表示して終了します\n"
     "  --lang ja|en ほかの引数より前に指定: メッセージを日本語 (ja) か英語 (en) にします\n"
     "               （環境変数 VELMORTA_LANG でも指定可。指定がなければシステムの言語）\n"
     "\n"
     "終了ステータスは、正常に終わったとき 0、エラーのとき 1 です。エラーの理由と\n"
     "基板についての警告は標準エラー出力に表示されます。\n"},
    {Text::ErrorLine, "velmorta: {text}"},
    {Text::WarningLine, "velmorta: 警告: {file}: {text}"},
    {Text::LangValue, "--lang には ja か en を指定してください（指定された値: {value}）"},

    {Text::CannotOpen, "{file} を開けません: {reason}"},
    {Text::CannotCreate, "{file} を作成できません: {reason}"},
    {Text::CannotWrite, "{file} に書き込めません: {reason}"},
    {Text::CannotEmpty, "{file} を空にできません: {reason}"},
    {Text::ReadFailed, "{file}: 読み込みに失敗しました: {reason}"},
    {Text::StepFailed, "{file}: {step}に失敗しました: {reason}"},
    {Text::StepWrite, "書き込み"},
    {Text::StepFlush, "書き出し"},
    {Text::StepClose, "クローズ"},
    {Text::SameFileNothingWritten, "{file} は {other} と同じファイルです。何も書き込みません"},
    {Text::NotEnoughMemory, "{file} を変換するにはメモリが足りません"},
    {Text::NoOutputName, "{file}: 出力ファイル {number} の名前を指定する >F 行がありません"},
    {Text::OutputFileNumbered, "出力ファイル {number} {file}"},
    {Text::OutputSameAsInput, "{output} は{what} {file} と同じファイルです"},
    {Text::OutputSameAsOutput, "{output} は {other} と同じファイルです"},
    {Text::ThePadFile, "パッドファイル"},
    {Text::TheConfigurationFile, "設定ファイル"},
    {Text::TheRunLog, "実行ログ"},
    {Text::NoLineWidthCode, "{file}: 基板のピッチの線幅の初期値 (>l) に、コードのある >D 行がありません"},
    {Text::NoFixedLandCode, "{file}: 基板のピッチの固定ランドの初期値 (>r) に、コードのある >R 行がありません"},
    {Text::NoAuxLandLine, "{file}: 基板のピッチの補助ランドの大きさ (>h) に対応する >D 行がありません"},
    {Text::NoDrillCode, "{file}: 既定のドリル (>d) または穴径に、コードのある >T 行がありません"},
    {Text::NoSizeCode, "{file}: 基板が選ぶ大きさに、コードのある >D 行または >R 行がありません"},

    {Text::UnknownKey, "{line} 行目 {content}: 不明なキー {key} です。この行は読み飛ばします"},
    {Text::NameSavedAsUtf8,
     "{line} 行目: 名前 {name} は UTF-8 で保存されていて、このシステムでは正しく読めません。"
     "ファイル名が文字化けします。設定ファイルを Shift-JIS (ANSI) で保存し直してください"},
    {Text::SectionAtEnd, "ファイルの最後の \"***\" のあとにセクション名がありません"},
    {Text::NoPitch,
     "\"Pitch\" が 1 でも 2 でもありません。出力ファイル 1 から 4 にはヘッダーが付かず、"
     "幅コードやランドコードでアパーチャが選ばれません"},
    {Text::NotANumber, "{section} のレコード {record} {token}: {field} が数値ではありません。0 として読みます"},
    {Text::RecordEndsTable, "{section} のレコード {record} {token} は 0 で始まるため、表がここで終わります。{ignored}"},
    {Text::HoleRecordEndsTable,
     "{section} のレコード {record} {token} で表が終わります。穴のツールは >T の 18 番目のエントリのコードで、"
     "ここではそれが 0 です。{ignored}"},
    {Text::RecordIgnored, "このレコードは無視されます"},
    {Text::RecordsIgnored, "ここから {count} 個のレコードが無視されます"},
    {Text::UnknownSectionName, "不明なセクション名 {name}（ファイルの {section} 番目のセクション）: {skipped}"},
    {Text::SectionHoldsNothing, "中身はありません"},
    {Text::SectionTokenSkipped, "中の 1 個の語を読み飛ばします"},
    {Text::SectionTokensSkipped, "中の {count} 個の語を読み飛ばします"},
    {Text::NoLandAperture,
     "{section} のレコード {record} {at}: {field} のコード {code} に対応するランドのアパーチャが"
     "ピッチ {pitch} にありません。そのとき有効なアパーチャのままにします"},
    {Text::NoLineAperture,
     "{section} のレコード {record} {from}-{to}: 幅 {width} に対応する配線のアパーチャがピッチ {pitch} に"
     "ありません。そのとき有効なアパーチャのままにします"},
    {Text::NoToolOfDiameter,
     "Hole のレコード {record} {at}: 穴径 {diameter} に合う >T 行がありません。"
     "そのとき有効なツール {tool} で穴をあけます"},
    {Text::MoreUnknownSections, "ほかに不明なセクション名が {count} 件あります"},
    {Text::MoreWithoutPitch, "ほかにピッチのないパッドファイルが {count} 件あります"},
    {Text::MoreEndedTables, "ほかに最初の項目が 0 のレコードで終わった表が {count} 件あります"},
    {Text::MoreNotANumber, "ほかに数値でない項目のあるレコードが {count} 件あります"},
    {Text::MoreNoSizeClass, "ほかにアパーチャを選べない幅コードやランドコードが {count} 件あります"},
    {Text::MoreUnknownHoleSizes, "ほかに >T にない穴径が {count} 件あります"},
    {Text::MoreUnknownKeys, "ほかに不明なキーの行が {count} 行あります"},
    {Text::MoreNamesSavedAsUtf8, "ほかに UTF-8 で保存された名前が {count} 件あります"},

    {Text::ReportHeading, "基板チェック: {verdict}。"},
    {Text::ReportNoFrame, "位置は mm だけで示し、パッドファイルの単位では示しません: {why}。"},
    {Text::ReportLimits, "制限値 (mm):"},
    {Text::ReportFindings, "指摘（位置は mm。pad はパッドファイルの単位、0.01 インチ）:"},
    {Text::ReportAt, "位置 {x}, {y}"},
    {Text::ReportPad, "pad {x}, {y}"},
    {Text::ReportFoundTimes, "（ここで {count} 回）"},
    {Text::ReportMore, "... ほかに {count} 件（一覧には載せていません）"},
    {Text::ReportKinds, "指摘の種類:"},
    {Text::SummaryHeading, "基板チェック: {verdict}"},
    {Text::VerdictStopped, "実行されませんでした。基板はチェックされていません: {why}"},
    {Text::VerdictPassed, "合格"},
    {Text::VerdictCounts, "{errors}、{warnings}"},
    {Text::ErrorsOne, "エラー 1 件"},
    {Text::ErrorsMany, "エラー {count} 件"},
    {Text::WarningsOne, "警告 1 件"},
    {Text::WarningsMany, "警告 {count} 件"},
    {Text::SeverityError, "エラー"},
    {Text::SeverityWarning, "警告"},
    {Text::LayerBottom, "裏面"},
    {Text::LayerTop, "表面"},
    {Text::LayerDrill, "ドリル"},
    {Text::SourceFileNumbered, "ファイル {number}"},
    {Text::CheckCrowded, "図形が密集していて、基板の大きさに見合う時間ではチェックできません"},
    {Text::CheckTooManyFindings, "指摘と近接する組が {count} を超えています"},
    {Text::TooManyBottomFeatures, "裏面の図形が多すぎてチェックできません: {count}"},
    {Text::TooManyTopFeatures, "表面の図形が多すぎてチェックできません: {count}"},
    {Text::TooManyWireLinks, "ジャンパー線が多すぎてチェックできません: {count}"},
    {Text::TooManyHoles, "穴が多すぎてチェックできません: {count}"},
    {Text::TooManyOutlineSegments, "外形の線分が多すぎてチェックできません: {count}"},

    {Text::KindTrackWidth, "配線（ストローク）が制限値より細い"},
    {Text::KindPadSize, "ランドが制限値より小さい"},
    {Text::KindDrillMin, "メッキ穴の穴径が最小のドリルより小さい"},
    {Text::KindDrillMax, "メッキ穴の穴径が最大のドリルより大きい"},
    {Text::KindUnplatedMin, "メッキなし穴の穴径が最小のドリルより小さい"},
    {Text::KindUnplatedMax, "メッキなし穴の穴径が最大のドリルより大きい"},
    {Text::KindRingBroken, "穴がランドの縁に届くか、はみ出している（ランドと同じ大きさか、中心がずれている）"},
    {Text::KindRingThin, "アニュラリングが制限値より細い"},
    {Text::KindNoLand, "この面にランドのないスルーホール"},
    {Text::KindUndrilledLand, "穴のないランド"},
    {Text::KindLandsTouch, "2 つの穴のランドが接するか重なっている（負の値は重なりの量）ため、ピンどうしがつながる"},
    {Text::KindSpacing, "つながっていない 2 つの銅箔のクリアランスが制限値より狭い"},
    {Text::KindCopperEdge, "銅箔と外形のクリアランスが制限値より狭い（負の値は外形をまたいでいる）"},
    {Text::KindHoleSpacing, "穴と穴の縁どうしの間隔が制限値より狭い（負の値は重なっている）"},
    {Text::KindDuplicateHit, "同じ場所に同じ大きさの穴が 2 つある"},
    {Text::KindHoleEdge, "穴と外形の間隔が制限値より狭い（負の値は外形をまたいでいる）"},

    {Text::LimitTrack, "最も細い配線（ストロークのアパーチャ）"},
    {Text::LimitPad, "最も小さいランド"},
    {Text::LimitSpacing, "銅箔どうしのクリアランス"},
    {Text::LimitDrillMin, "メッキ穴の最小穴径"},
    {Text::LimitDrillMax, "メッキ穴の最大穴径"},
    {Text::LimitUnplatedMin, "メッキなし穴の最小穴径"},
    {Text::LimitUnplatedMax, "メッキなし穴の最大穴径"},
    {Text::LimitRing, "アニュラリング"},
    {Text::LimitCopperEdge, "銅箔と外形のクリアランス"},
    {Text::LimitHoleSpacing, "穴と穴の縁どうしの間隔"},
    {Text::LimitHoleEdge, "穴と外形の間隔"},
    {Text::LimitMerge, "同じ不良の指摘をひとつにまとめる距離"},
    {Text::UnknownLimit, "不明な制限値の名前 {name} です"},
    {Text::LimitTooLarge, "1000 mm より大きい値です: {value}"},
    {Text::LimitTooFine, "0.001 mm より細かい値です: {value}"},
    {Text::LimitNotASize, "mm 単位の大きさではありません: {value}"},
    {Text::LimitsFileLine, "{file}:{line}: {error}"},

    {Text::ProgressReading, "velmorta-export: 変換ファイルを読んでいます…"},
    {Text::ProgressLayer, "velmorta-export: レイヤー {number}/{count}を書いています…"},
    {Text::ProgressChecking, "velmorta-export: 基板をチェックしています…"},
    {Text::ProgressPreview, "velmorta-export: プレビューを描いています…"},
    {Text::ProgressArchive, "velmorta-export: アーカイブを仕上げています…"},
    {Text::ProgressKicad, "velmorta-export: KiCad 基板を書いています…"},
};

}  // namespace

std::span<const Entry> JapaneseEntries() { return kJapanese; }

}  // namespace velmorta
