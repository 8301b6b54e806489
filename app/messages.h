#pragma once

// The program's own texts, UTF-8. "{}" marks where a value goes, in order.
namespace selvane::messages {

// Start-up and the window.
inline constexpr char kUnsupportedServer[] = "このソフトウェアは既設サーバのみに対応しています。";
inline constexpr char kRightButtonUnusable[] = "マウスの右ボタンは利用できません。";
inline constexpr char kUnexpectedFailure[] = "予期しないエラーが発生したため、プログラムを終了します。";
inline constexpr char kChooseKevaFolder[] = "KEVAのインストールフォルダを選択してください。";
inline constexpr char kSetupComplete[] = "初期設定が完了しました。";
inline constexpr char kRestartRequired[] = "初期設定が完了しました。サーバを再起動してください。";
inline constexpr char kRestartStarted[] = "初期設定が完了しました。サービスインストーラがサーバの再起動を開始しました。";
inline constexpr char kSetupRunning[] = "初期設定を実行中です。";
inline constexpr char kBrowseTitle[] = "フォルダを選択してください。";

// Why a setup run stopped: a heading, what failed (each step's words are in
// the table of steps), the reason, what the run left behind, and advice.
inline constexpr char kSetupStopped[] = "初期設定を中止しました。";
inline constexpr char kVerifyStopped[] = "設定済みかどうかを確かめられませんでした。";
inline constexpr char kReasonLabel[] = "理由: ";
inline constexpr char kNothingChanged[] = "設定は何も変更していません。";
inline constexpr char kPutBack[] = "変更した設定は元に戻しました。";
inline constexpr char kPartlyPutBack[] = "次の変更は元に戻せませんでした。手作業で元に戻してください。";
inline constexpr char kSettingsKept[] =
    "書き込んだ設定はそのままです (バッチファイルが既に使っている可能性があるため、元に戻していません)。";
// Each program the run starts, once the first of them has started.
inline constexpr char kBatchFileStarted[] = "バッチファイルは起動済みです。";
inline constexpr char kBatchFileNotStartedYet[] = "バッチファイルは起動していません。";
inline constexpr char kInstallerStarted[] = "サービスインストーラは起動済みです。";
inline constexpr char kInstallerNotStartedYet[] = "サービスインストーラは起動していません。";
inline constexpr char kCheckFolderAndRetry[] = "フォルダを確かめてから、もう一度 [完了] を押してください。";
inline constexpr char kCloseHolderAndRetry[] =
    "ファイルを使用しているプログラム (バックアップやウイルス対策など) を閉じてから、もう一度 [完了] を押してください。";
inline constexpr char kCheckProductFiles[] =
    "プログラムのフォルダと製品のファイルを確かめてから、プログラムを起動し直してください。";
inline constexpr char kFixRightsAndRestart[] =
    "アクセス許可を直してから (理由にあるコマンドは管理者のコマンド プロンプトで実行します)、プログラムを起動し直してください。";
inline constexpr char kCheckOtherPrograms[] =
    "ほかのプログラム (バックアップやウイルス対策など) がファイルを使用していないか確かめてください。";

// What failed, at each step; "{}" is the file or folder concerned.
inline constexpr char kWindowsDirectoryUnknown[] = "Windows フォルダの場所を取得できませんでした。";
inline constexpr char kSystemDirectoryUnknown[] = "システム フォルダの場所を取得できませんでした。";
inline constexpr char kPathUnusable[] = "パス {} は使用できません。";
inline constexpr char kBatchFileUnusable[] = "バッチファイル {} を起動できません。";
inline constexpr char kServiceFolderUnusable[] = "サービスフォルダ {} を使用できません。";
inline constexpr char kInstallerUnusable[] = "サービスインストーラ {} を起動できません。";
// Also where the owner and permissions could not be read: the reason says which.
inline constexpr char kRightsUnsafe[] = "{} を管理者以外のアカウントが変更できないことを、確かめられませんでした。";
inline constexpr char kFileNotRead[] = "{} を読み取れませんでした。";
inline constexpr char kSettingsNotWritten[] = "設定を書き込めませんでした。\nファイル: {}";
inline constexpr char kAnswerFileNotWritten[] = "応答ファイル {} を書き込めませんでした。";
inline constexpr char kAnswerFileNotFound[] = "応答ファイル {} が書き込み後に見つかりません。";
inline constexpr char kBatchFileNotStarted[] = "バッチファイル {} を起動できませんでした。";
inline constexpr char kBatchFileFailed[] = "バッチファイル {} が失敗しました。";
inline constexpr char kInstallerNotStarted[] = "サービスインストーラ {} を起動できませんでした。";
inline constexpr char kInstallerFailed[] = "サービスインストーラ {} が失敗しました。";

// Why, where the system's own words do not say it.
inline constexpr char kReasonNotInCodePage[] =
    "このコンピュータの文字コード (ANSI コードページ) で表せない文字が含まれています";
inline constexpr char kReasonTooLong[] = "{} 文字です (上限は {} 文字)";
inline constexpr char kReasonUnsafeCharacter[] = "パスに % または \" が含まれています (cmd.exe が別の意味に読みます)";
inline constexpr char kReasonIsFolder[] = "ファイルではなくフォルダです";
inline constexpr char kReasonNotFolder[] = "フォルダではなくファイルです";
inline constexpr char kReasonNotAProgram[] = "Windows で実行できるプログラムではありません";
inline constexpr char kReasonNotVisible[] = "待ち時間を過ぎました";
inline constexpr char kReasonExitCode[] = "終了コード {}";
inline constexpr char kReasonHasOtherNames[] =
    "ほかの名前 (ハードリンク) でも開けるファイルです。書き込むと別のファイルも変わるため、何も書き込んでいません。"
    "このファイルを削除するか、別のフォルダを指定してください";
inline constexpr char kReasonReplacedSinceCheck[] = "確かめた後に、別のファイルに置き換えられています";
inline constexpr char kReasonIsLink[] =
    "シンボリック リンクまたはジャンクションです。リンク先に書き込まないよう、何も書き込んでいません。"
    "リンクを削除するか、別のフォルダを指定してください";
// Who can do what to a file or folder the run trusts ("{}" the account),
// by what the account can do; then the command that closes it.
inline constexpr char kReasonOthersCanChange[] = "{} が{}。{}";
inline constexpr char kReasonAccountUnknown[] =
    "{} が{}。このアカウントが管理者かどうかを確かめられませんでした (ドメイン コントローラに接続できないときなど)。"
    "確かめられるようになってから、もう一度実行してください。{}";
inline constexpr char kExposureOwns[] = "所有しています (所有者はアクセス許可をいつでも変更できます)";
inline constexpr char kExposurePermissions[] = "アクセス許可または所有者を変更できます";
inline constexpr char kExposureDeletes[] = "削除または名前の変更ができます";
inline constexpr char kExposureWrites[] = "書き換えられます";
inline constexpr char kExposureCreates[] = "ファイルやフォルダを作成できます";
inline constexpr char kRightsCommand[] = "直すコマンド: {}";
// Another's file or folder: gone if it was planted; given to Administrators, and its permissions those of its folder.
inline constexpr char kRightsOwnerCommand[] =
    "見覚えのないものなら削除してください。製品のものなら、直すコマンド: "
    "icacls \"{}\" /setowner *S-1-5-32-544 に続けて icacls \"{}\" /reset";
// The account's entries made the object's own, then all but reading and running taken away (or all of them).
inline constexpr char kIcaclsKeepReading[] = "icacls \"{}\" /inheritance:d /grant:r \"*{}:{}(RX)\"";
inline constexpr char kIcaclsRemove[] = "icacls \"{}\" /inheritance:d /remove:g *{}";
// A name that cmd or PowerShell would read within quotes ("%PATH%", "$(…)") gets no command to paste.
inline constexpr char kRightsNoCommand[] =
    "名前にコマンド プロンプトや PowerShell が解釈する文字が含まれるため、直すコマンドは示しません。"
    "エクスプローラーで削除するか、名前を変更してください。";
inline constexpr char kReasonNotReadBack[] = "読み直した内容が実行前と一致しません";

// Putting back, for the log ("…{}…" file, section, key, line) and, where it
// failed, for the administrator to do by hand.
inline constexpr char kLogRestoreFile[] = "元に戻す {} (実行前の内容)";
inline constexpr char kLeftFile[] = "・{} を実行前の内容に戻してください";
inline constexpr char kLogRemoveFile[] = "削除 {}";
inline constexpr char kLeftNewFile[] = "・{} は実行前にはありませんでした。削除してください";
inline constexpr char kLogRestoreLine[] = "元に戻す {} [{}] {} の行「{}」";
inline constexpr char kLeftLine[] = "・{} の [{}] {} の行を実行前の「{}」に戻してください";
inline constexpr char kLogDeleteKey[] = "削除 {} [{}] {}";
inline constexpr char kLeftKey[] = "・{} の [{}] {} は実行前にはありませんでした。削除してください";
inline constexpr char kLogDeleteSection[] = "削除 {} [{}]";
inline constexpr char kLeftSection[] = "・{} の [{}] は実行前にはありませんでした。セクションを削除してください";
inline constexpr char kLeftReason[] = " (理由: {})";

// The command line.
inline constexpr char kUsage[] =
    "Selvane 初期設定 (selvane-init.exe)\n"
    "\n"
    "使い方:\n"
    "  selvane-init.exe                 設定ウィンドウを開きます。\n"
    "  selvane-init.exe /VERYSILENT /DIR=フォルダ [/LOG=ファイル] [/WAIT] [/WHATIF]\n"
    "  selvane-init.exe /VERIFY /DIR=フォルダ [/LOG=ファイル]\n"
    "\n"
    "  /VERYSILENT    ウィンドウもメッセージも出さずに設定します (/SILENT も同じ)。\n"
    "  /DIR=フォルダ   KEVA のインストールフォルダ。絶対パス (X:\\… または \\\\server\\share\\…) で、\n"
    "                 存在するフォルダを指定します (/ も区切りとして使えます)。\n"
    "                 /VERYSILENT と /VERIFY には必須です。\n"
    "  /LOG=ファイル   実行の記録をこのファイルに追記します。省略すると、/VERYSILENT では\n"
    "                 プログラムのフォルダの selvane-init.log に追記します。\n"
    "  /WAIT          acl.bat と install.exe の終了を待ち、終了コードを記録します。\n"
    "                 0 以外の終了コードは失敗 (1603) になります。\n"
    "  /WHATIF        確認だけを行い、行う予定の書き込みと起動を記録します。何も変更しません。\n"
    "  /VERIFY        このフォルダで設定済みかどうかを調べ、異なる設定を記録します。\n"
    "                 ウィンドウを出さず、何も変更・起動しません。\n"
    "  /? /HELP       この説明を表示します。\n"
    "\n"
    "終了コード:\n"
    "  0     成功 (/VERIFY: 設定済み)\n"
    "  3010  成功。サーバの再起動が必要です (/WAIT でサービスインストーラが 3010 で終了)\n"
    "  1641  成功。サービスインストーラがサーバの再起動を開始しました (/WAIT)\n"
    "  1     /VERIFY: 設定がないか、異なります\n"
    "  1603  設定に失敗しました (書き込み、acl.bat・install.exe の起動、/WAIT での失敗の終了コード)\n"
    "  1618  このプログラムは既に実行中です\n"
    "  1622  ログファイルを開けません\n"
    "  1633  このサーバには対応していません\n"
    "  1639  コマンドライン、/DIR または /LOG が正しくありません\n";
inline constexpr char kNotASwitch[] = "スイッチではない引数です: {} (スイッチは / または - で始めます)";
inline constexpr char kUnknownSwitch[] = "不明なスイッチです: {}";
inline constexpr char kRepeatedSwitch[] = "スイッチが 2 回指定されています: {}";
inline constexpr char kValueMissing[] = "{} には値が必要です (例: {})。";
inline constexpr char kValueNotTaken[] = "{} は値を取りません: {}";
inline constexpr char kQuoteInValue[] =
    "{} の値に \" が含まれています: {}\n"
    "末尾が \\ の値を引用符で囲むと (例: \"D:\\pkg\\\")、最後の \\\" は引用符の文字として読まれます。"
    "末尾の \\ を外すか (\"D:\\pkg\")、引用符を外してください。";
inline constexpr char kNeedsSilent[] = "{} は /VERYSILENT と一緒にだけ使えます。";
inline constexpr char kDirRequired[] = "{} には /DIR=フォルダ が必要です。";
inline constexpr char kDirNotAbsolute[] = "/DIR は絶対パス (X:\\… または \\\\server\\share\\…) で指定してください: {}";
inline constexpr char kDirNotInCodePage[] =
    "/DIR に、このコンピュータの文字コード (ANSI コードページ) で表せない文字が含まれています: {}";
inline constexpr char kDirMissing[] = "/DIR のフォルダが見つかりません: {} (理由: {})";
inline constexpr char kDirNotFolder[] = "/DIR はフォルダではありません: {}";
inline constexpr char kLogNotOpened[] = "ログファイル {} を開けません。理由: {}";
inline constexpr char kLogIsRunFile[] =
    "ログファイル {} は、初期設定が書き込むか起動するファイルと同じ名前です。別のファイルを指定してください。";
inline constexpr char kLogIsRunFileByLink[] =
    "ログファイル {} は、初期設定が書き込むか起動するファイル {} そのものです (別の名前やリンク)。別のファイルを指定してください。";
inline constexpr char kAnotherInstance[] = "このプログラムは既に実行中です。";
inline constexpr char kVerified[] = "設定済み";
inline constexpr char kNotVerified[] = "{} 件の設定が、実行した場合の値と異なります";
inline constexpr char kVerifyNeedsNoRun[] = "/VERIFY は {} と一緒には使えません。";
inline constexpr char kWhatIfDone[] = "/WHATIF: 確認を終えました。何も変更していません。";
inline constexpr char kConsoleSummary[] = "Selvane 初期設定: {} (終了コード {}) ログ: {}";
inline constexpr char kConsoleSummaryNoLog[] = "Selvane 初期設定: {} (終了コード {})";

// Why ORNA.mdb could not be read (the run goes on); ODBC's own diagnostics follow.
inline constexpr char kDatabasePathNotInCodePage[] = "ORNA.mdb のパスに、ANSI コードページで表せない文字があります";
inline constexpr char kOdbcCallFailed[] = "{} が失敗しました{}";
inline constexpr char kOdbcDiagnostic[] = "SQLSTATE {}: {} (ネイティブ エラー {})";
inline constexpr char kOdbcNoDiagnostics[] = "ODBC の診断情報はありません";
inline constexpr char kNoRowWithId1[] = "テーブル Type に ID が 1 の行がありません";
inline constexpr char kTypeIsNull[] = "フィールド Type が Null です";
inline constexpr char kTypeTooLong[] = "フィールド Type の値が長すぎます";
inline constexpr char kTypeNotInt16[] = "フィールド Type の値 \"{}\" は 16 ビットの整数ではありません";

// The log. Each line: "YYYY-MM-DD hh:mm:ss.mmm [pid] LEVEL text".
inline constexpr char kLogStarted[] = "Selvane 初期設定 {} 開始 コマンドライン: {}";
inline constexpr char kLogServerType[] = "サーバ種別: {}";
inline constexpr char kLogServerTypeUnread[] = "サーバ種別を読み取れませんでした。設定を続けます。理由: {}";
inline constexpr char kLogSetting[] = "設定 {} [{}] {}={} (変更前: {})";
inline constexpr char kLogLine[] = "「{}」";
inline constexpr char kLogNoValue[] = "なし";
inline constexpr char kLogDifference[] = "相違 {} [{}] {}: 実行した場合 {}、現在 {}";

// The record of each run (HKLM\SOFTWARE\Selvane\InitialSetup).
inline constexpr char kLogRecordNotWritten[] = "実行の記録を書き込めませんでした: {}";
inline constexpr char kLogRecordNotRead[] = "実行の記録を読み取れませんでした: {}";
// "{}" are when the run began and the KEVA folder it was for.
inline constexpr char kLastRunInterrupted[] =
    "前回の初期設定 ({} に開始、KEVA のフォルダ {}) は途中で中断されました。今回の実行で設定し直してください。";
inline constexpr char kLastRunFailed[] = "前回の初期設定は失敗しました (終了コード {}、失敗した手順 {})。";
inline constexpr char kLogLastRunCompleted[] = "前回の初期設定は完了しています (終了コード {})。";
inline constexpr char kLogNoRecord[] = "実行の記録がありません: 設定の値だけで判断します。";
inline constexpr char kLogRecordOfOtherFolder[] = "実行の記録は別の KEVA のフォルダ {} のものです: 設定の値だけで判断します。";
inline constexpr char kLogCopyRemoved[] = "中断された実行が残した {} を削除しました。";
inline constexpr char kLogCopyNotRemoved[] = "中断された実行が残した {} を削除できませんでした: {}";
inline constexpr char kLogCopyKept[] = "{} は中断された実行が残したファイルではないため、そのままにしました。";
inline constexpr char kLogAnswerFile[] = "応答ファイル {}";
inline constexpr char kLogChangedMeanwhile[] =
    "{} は実行中にほかのプログラムが変更しました。この実行が書き込んだ項目だけを 1 つずつ元に戻します";
inline constexpr char kLogHoldReleased[] = "待機 {} を他のプログラムが使用中のため {} ミリ秒待ちました";
inline constexpr char kLogHoldKept[] = "待機 {} を他のプログラムが使用中です。{} ミリ秒待ちましたが解放されませんでした";
inline constexpr char kLogLineBefore[] = "実行前の内容 {}: 「{}」";
inline constexpr char kLogStart[] = "起動 {}";
inline constexpr char kLogStartIn[] = "起動 {} (作業フォルダ {})";
inline constexpr char kLogWaiting[] = "待機 {} の終了を待っています";
inline constexpr char kLogEnded[] = "終了 {} 終了コード={}";
inline constexpr char kLogDone[] = ": 完了";
inline constexpr char kLogFailed[] = ": 失敗: {}";
inline constexpr char kLogPlanned[] = ": /WHATIF のため行いません";
inline constexpr char kLogProcessId[] = " pid={}";
inline constexpr char kLogExit[] = "exit={}";
inline constexpr char kLogEventSourceNotRegistered[] =
    "イベントのメッセージファイルを登録しませんでした: プログラムのパス {} に % が含まれ、イベント ビューアーが別のファイルと読むためです。イベントは文字列とともに記録します";
inline constexpr char kLogEventSourceNotTrusted[] =
    "イベントのメッセージファイルを登録しませんでした: プログラム {} は管理者以外のアカウントが変更できるためです。イベントは文字列とともに記録します";
inline constexpr char kLogEventNotWritten[] = "イベントログに記録できませんでした: {}";

}  // namespace selvane::messages
