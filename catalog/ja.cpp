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

    {Text::ExportUsage,
     "使い方: velmorta-export [--config PATH] [--timestamp] [--limits PATH] [--limit NAME=MM]...\n"
     "                        [--fail-on errors|warnings] [--no-check] [--no-kicad] [--lang ja|en] BASE\n"
     "velmorta が基板 BASE について書いた 7 つのファイルを読み、基板メーカーに発注するための\n"
     "セットを出力フォルダーに書きます。BOARD-fab/ には RS-274X のガーバー（銅箔、\n"
     "ソルダーレジスト、シルク、外形）、Excellon のドリルファイル（メッキ穴とメッキなし穴）、\n"
     "ドリル図、ジョブファイル、アパーチャ表、基板チェックの報告（BOARD-check.txt と .csv）、\n"
     "SVG のプレビューが入り、アップロード用の BOARD-fab.zip がその横にできます。設定は\n"
     "velmorta の設定ファイル（このプログラムと同じフォルダーの velmorta.cfg）を読みます。\n"
     "--config で別の設定ファイルを指定できます。--timestamp はファイルに日時を入れます。\n"
     "基板チェックは、セットを基板メーカーの制限値と比べ、問題ごとに報告してプレビューに\n"
     "印を付け、結果を表示します。--limits は制限値をファイルから読み、--limit は 1 つを\n"
     "設定します（track, pad, spacing, drill_min, drill_max, unplated_min, unplated_max,\n"
     "ring, copper_edge, hole_spacing, hole_edge, merge。mm 単位で、ファイルのあとに適用）。\n"
     "--no-check は基板チェックを外します。\n"
     "セットの横には KiCad 6 以降用の基板 BOARD.kicad_pcb を書きます。部品ごとのフット\n"
     "プリント、配線、ビア、穴、外形、銅箔のつながりから作ったネット、デザインルールとしての\n"
     "制限値が入ります。その後 KiCad で保存されたものは残します。--no-kicad はこれを外します。\n"
     "--lang ja|en はメッセージを日本語 (ja) か英語 (en) にします（環境変数 VELMORTA_LANG\n"
     "でも指定可。指定がなければシステムの言語）。-h か --help でこの説明を表示します。\n"
     "終了ステータス: セットを書いたとき 0。書かなかったとき（理由は標準エラー出力に表示し、\n"
     "前のセットは残ります）と標準出力に書けなかったとき 1。セットは書いたが、基板チェックの\n"
     "結果で --fail-on errors（エラーがある）か --fail-on warnings（指摘がある）に当たったとき 2。\n"},
    {Text::ExportErrorLine, "velmorta-export: {text}"},
    {Text::ExportWarningLine, "velmorta-export: 警告: {text}"},
    {Text::Wrote, "書き込みました {file}"},
    {Text::FailOnErrors, "基板チェックでエラーが見つかりました (--fail-on errors)。セットは書き込んであります"},
    {Text::FailOnWarnings, "基板チェックで指摘が見つかりました (--fail-on warnings)。セットは書き込んであります"},
    {Text::FailOnNotDone, "基板チェックは実行されませんでした (--fail-on {level})。セットは書き込んであります"},
    {Text::ExportOutOfMemory, "メモリが足りません。何も変更していません。ほかのプログラムを閉じてから、もう一度エクスポートしてください"},
    {Text::StdoutLostReason, "標準出力に書き込めません: {reason}。{consequence}"},
    {Text::StdoutLost, "標準出力に書き込めません。{consequence}"},
    {Text::NothingChanged, "何も変更していません"},
    {Text::ListLost, "セットは書き込みましたが、ファイルの一覧と基板チェックの結果は表示できませんでした。出力先を空けて、もう一度エクスポートしてください"},
    {Text::OptionNeeds, "{option} には{needs}を指定してください"},
    {Text::OptionNeedsBeforeBoard, "{option} には、基板名より前に{needs}を指定してください（{board} は基板名として読みました）"},
    {Text::NeedsPath, "パス"},
    {Text::NeedsLimit, "NAME=MM"},
    {Text::NeedsFailOn, "errors か warnings"},
    {Text::NeedsLanguage, "ja か en"},
    {Text::Verbatim, "{text}"},
    {Text::FailOnValue, "--fail-on には errors か warnings を指定してください（指定された値: {value}）"},
    {Text::UnknownOption, "不明なオプション {option} です"},
    {Text::OneBoard, "基板は一度に 1 つだけです: {first} と {second}"},
    {Text::NoBoard, "基板が指定されていません"},
    {Text::FailOnNeedsCheck, "--fail-on は基板チェックを使いますが、--no-check で基板チェックを外しています"},
    {Text::LimitNotNameMm, "--limit には NAME=MM を指定してください（指定された値: {setting}）"},
    {Text::LimitOption, "--limit {setting}: {error}"},
    {Text::TheLimitsFile, "制限値ファイル"},
    {Text::NotVerified, "{base}.pad がないため、変換されたファイルをパッドファイルと照合できませんでした（実行ログ {base}_.vel との日付だけを確かめました）。この基板のファイルである場合だけエクスポートしてください"},
    {Text::CannotReadOutputFile, "出力ファイル {number} {file} を読めません: {reason}。velmorta {base} をもう一度実行してください"},
    {Text::NotWhatVelmortaMakes, "{file} は、velmorta が {pad} と {configuration} から作る内容と違います（{byte} バイト目が違います）。velmorta {base} をもう一度実行してください"},
    {Text::CannotReadPad, "パッドファイル {file} を読めません: {reason}"},
    {Text::VelmortaStops, "velmorta は {file} の変換で止まります: {reason}。これを直して、velmorta {base} をもう一度実行してください"},
    {Text::CannotReadRunLog, "実行ログ {file} を読めません: {reason}（先に velmorta で基板を変換してください）"},
    {Text::ConversionIncomplete, "{file}: {base} の前回の変換は最後まで終わっていません（理由は実行ログにあります）。もう一度変換してください"},
    {Text::ChangedAfterRunLog, "{file} は実行ログ {log} より後に変更されています。{base} の前回の変換で作られたものではありません（そのあとで別の基板を変換しましたか）。{base} をもう一度変換してください"},
    {Text::CannotReadNamed, "{what} {file} を読めません: {reason}"},
    {Text::CannotReadNamedNoReason, "{what} {file} を読めません"},
    {Text::CannotReadOutput, "出力ファイル {number} {file} を読めません: {reason}"},
    {Text::CannotRead, "{file} を読めません: {reason}"},
    {Text::CannotReadNoReason, "{file} を読めません"},
    {Text::ChangedAtOffset, "{file}: オフセット {offset}: {what}。velmorta が書いたあとでファイルが変更されています。基板をもう一度変換してください"},
    {Text::TrailerOfAnother, "別の種類のファイルの終わり（このファイルは \"{trailer}\" で終わります）"},
    {Text::TextAfterTrailer, "終わりのあとにある文字"},
    {Text::NoApertureSelected, "アパーチャが選ばれていない{what}（D0、またはまだ選ばれていない）"},
    {Text::AStroke, "線"},
    {Text::AFlash, "フラッシュ"},
    {Text::HitWithNoTool, "ツールが選ばれていない穴（T0、またはまだ選ばれていない）"},
    {Text::NotADrillHit, "velmorta が書く穴の行ではない"},
    {Text::HitWithoutM05, "M05 のない穴の行"},
    {Text::NotAToolSelection, "velmorta が書くツールの選択ではない"},
    {Text::NotACommand, "velmorta が書くコマンドではない"},
    {Text::NoCrLfAtEnd, "最後の行が CR LF で終わっていない"},
    {Text::TextAfterCommand, "コマンドのあと、行を終える CR LF の位置にある文字"},
    {Text::NotACoordinateBlock, "velmorta が書く座標ブロックではない"},
    {Text::BlockWithoutD, "*D01*、*D02*、*D03* のない座標ブロック"},
    {Text::NotAnApertureSelection, "velmorta が書くアパーチャの選択ではない"},
    {Text::WithExcerpt, "{what}: \"{excerpt}\""},
    {Text::CoordinateTooLarge, "{axis} 座標 {value} mm が {format} の整数部 4 桁に収まらない"},
    {Text::NoTrailer, "{file}: 終わりの \"{trailer}\" がありません。変換が途中で止まっています（実行ログを見てください）"},
    {Text::CodeSizeUnknown, "{configuration}: {key} のコード {code}（{file} で使われています）: このコードの {key} 行がないため、大きさがわかりません。行を追加するか、基板をもう一度変換してください"},
    {Text::CodeSizeAmbiguous, "{configuration}: {key} のコード {code}（{file} で使われています）: 大きさの違う行（{sizes}）が同じコードを持っていて、大きさが決まりません。大きさを 1 つにしてください"},
    {Text::LineSize, "{line} 行目 {size} mm"},
    {Text::CodeSizeRange, "{configuration}: {line} 行目: {key} のコード {code}（{file} で使われています）の大きさが、100 mm 以下の正の数ではありません。この行を直してください"},
    {Text::ToolSizeRange, "{configuration}: {line} 行目: {key} のコード {code}（{file} で使われています）の大きさが、100 mm 以下の正の数ではありません（>T の大きさは 0.1 mm 単位です）。この行を直してください"},
    {Text::TooManyCodes, "{lowest} から {highest} の範囲外の {what} コードが多すぎて、番号を付けきれません"},
    {Text::SettingTakes, "{configuration}: {line} 行目: \">E {name}\" には {allowed} を指定してください（指定された値: \"{value}\"）"},
    {Text::AllowedMillimetres, "0 から 10 までの mm の値（小数点以下 3 桁まで）"},
    {Text::OneOfTwo, "{a} か {b}"},
    {Text::OneOfThree, "{a}、{b}、{c} のどれか"},
    {Text::UnknownSetting, "{configuration}: {line} 行目: 不明なエクスポートの設定 \">E {name}\" です（first-side、single-sided-top、mask-expansion、sides のどれかです）"},
    {Text::NoOutputFileNamed, "{configuration} に出力ファイル {number} の名前がありません。\">F{number}\" 行を追加してください（\">F\" 行は 7 つのファイルの名前を順に指定します）"},
    {Text::CannotWriteSet, "{file} に書き込めません: {reason}。前のセットはそのまま残っています。出力フォルダーに空きがあり、書き込めることを確かめてから、もう一度エクスポートしてください"},
    {Text::CannotWriteSetStep, "{file} に書き込めません: {step}: {reason}。前のセットはそのまま残っています。出力フォルダーに空きがあり、書き込めることを確かめてから、もう一度エクスポートしてください"},
    {Text::BoardNameIsFolder, "基板名 {base} がフォルダーの区切り文字で終わっています"},
    {Text::SetWouldReplace, "{folder} は{what} {file} で、エクスポートで置き換えられてしまいます。{remedy}"},
    {Text::SetHolds, "{what} {file} がセットのフォルダー {folder} の中にあり、エクスポートで置き換えられてしまいます。{remedy}"},
    {Text::CannotReadFolder, "フォルダー {file} を読めません: {reason}"},
    {Text::OutputFileNumber, "出力ファイル {number}"},
    {Text::RenameOutputFile, "出力ファイル {number} に別の名前を付けて（{configuration} の \">F{number}\" 行）、変換とエクスポートをやり直してください"},
    {Text::MoveBoardElsewhere, "別の出力フォルダー（{configuration} の \">g\" 行）を選ぶか、基板を別の場所に置いて、変換とエクスポートをやり直してください"},
    {Text::CannotLock, "{file} をロックできません: {reason}。出力フォルダーに書き込めることを確かめてください"},
    {Text::AnotherExport, "この基板の別のエクスポートが実行中です（{file} を使用中。{seconds} 秒待ちました）。それが終わってから、もう一度エクスポートしてください"},
    {Text::CannotReadJournal, "前回のエクスポートが残した {file} を読めません: {reason}"},
    {Text::NotOurJournal, "{file} は velmorta-export がセットの横に書くジャーナルではありません。別の場所に移してから、もう一度エクスポートしてください"},
    {Text::CannotReplaceSet, "前のセット {folder} を置き換えられません: {file} を削除できません（{reason}）。保護を外すか前のセットを別の場所に移してから、もう一度エクスポートしてください"},
    {Text::LeftByEarlier, "{failure}（前回のエクスポートが残したもの）。削除してから、もう一度エクスポートしてください"},
    {Text::CannotFinishEarlier, "前回のエクスポートが残した作業 ({file}) を終えられません: {failure}。できるようにしてから、もう一度エクスポートしてください"},
    {Text::CannotStage, "{failure}。出力フォルダーに空きがあり、書き込めることを確かめてください"},
    {Text::PreviousSetKept, "{failure}。前のセットはそのまま残っています"},
    {Text::PutBackFailed, "{failure}。前のセットを戻すのにも失敗しました（{second}）。次のエクスポートで戻します"},
    {Text::CannotWriteStep, "{file} に書き込めません: {step}: {reason}"},
    {Text::CannotRenameKicad, "セットは書き込みましたが、{file} は書き込めませんでした。{staged} の名前を変えられません: {reason}"},
    {Text::ZlibStart, "{file} に書き込めません: zlib を開始できませんでした"},
    {Text::ZlibFailed, "{file} に書き込めません: zlib が失敗しました"},
    {Text::ZipMemberTooLarge, "{file} に書き込めません: {member} は ZIP アーカイブには大きすぎます (4 GB)"},
    {Text::ZipTooLarge, "{file} に書き込めません: アーカイブが大きすぎます (4 GB)"},
    {Text::NoPadFile, "{base}.pad がありません"},
    {Text::PreviewTopView, "表面（上から見た図）"},
    {Text::PreviewBottomView, "裏面（下から見た図）"},
    {Text::PreviewCopper, "{side}の銅箔"},
    {Text::PreviewMask, "{side}のソルダーレジスト開口"},
    {Text::PreviewJumpers, "{side}のシルク: ジャンパー線"},
    {Text::PreviewProfile, "外形"},
    {Text::PreviewPlated, "スルーホール（メッキ穴）"},
    {Text::PreviewUnplated, "メッキなし穴"},
    {Text::PreviewDrillMap, "ドリル図"},
    {Text::MarkTitle, "{kind}（{severity}）{measure} {where}"},
    {Text::MarkAtPad, "位置 pad {x}, {y}"},
    {Text::MarkAt, "位置 {x}, {y} mm"},
    {Text::CheckNotDone, "基板チェック: {reason}（--no-check を付けると基板チェックなしでエクスポートします）"},
};

}  // namespace

std::span<const Entry> JapaneseEntries() { return kJapanese; }

}  // namespace velmorta
