#include "setup/post_setup.h"

#include "platform/folder_path.h"
#include "setup/command_line.h"

namespace selvane {

std::optional<StepFailure> RunAclBatch(SetupPlatform& platform, const std::string& appFolder) {
    const std::string answerFile = JoinPath(appFolder, "yes.txt");
    if (auto error = platform.WriteNewFile(answerFile, kAnswerFileContent)) {
        return StepFailure{"応答ファイル " + answerFile + " を書き込めませんでした。", *error};
    }

    // The batch file reads the answer file; start it only once the file can be seen.
    const auto deadline = platform.Now() + kAnswerFileWait;
    while (!platform.NormalFileExists(answerFile)) {
        if (platform.Now() >= deadline) {
            return StepFailure{"応答ファイル " + answerFile + " が書き込み後に見つかりません。",
                               "待ち時間を過ぎました"};
        }
        platform.ProcessPendingEvents();
        platform.Pause(kAnswerFilePoll);
    }

    const std::string batchFile = JoinPath(appFolder, "acl.bat");
    const std::string systemDirectory = platform.SystemDirectory();
    const auto commandLine = BatchCommandLine(systemDirectory, batchFile);
    if (!commandLine) {
        return StepFailure{"バッチファイル " + batchFile + " を起動できませんでした。",
                           "パスに % または \" が含まれています"};
    }
    if (!platform.NormalFileExists(batchFile)) {
        return StepFailure{"バッチファイル " + batchFile + " を起動できませんでした。",
                           "ファイルが見つかりません"};
    }
    if (auto error = platform.StartHidden(JoinPath(systemDirectory, "cmd.exe"), *commandLine, "")) {
        return StepFailure{"バッチファイル " + batchFile + " を起動できませんでした。", *error};
    }
    return std::nullopt;
}

std::optional<StepFailure> RunServiceInstaller(SetupPlatform& platform, const std::string& appFolder) {
    const std::string serviceFolder = JoinPath(appFolder, "service");
    if (auto error = platform.ChangeDirectory(serviceFolder)) {
        return StepFailure{"サービスフォルダ " + serviceFolder + " に移動できませんでした。", *error};
    }
    // By its full path: a bare "install.exe" would be searched for in the
    // application folder and on the PATH before the service folder.
    const std::string installer = JoinPath(serviceFolder, "install.exe");
    if (auto error = platform.StartHidden(installer, QuoteArgument(installer), serviceFolder)) {
        return StepFailure{"サービスインストーラ " + installer + " を起動できませんでした。", *error};
    }
    if (auto error = platform.ChangeDirectory(appFolder)) {
        return StepFailure{"アプリケーションフォルダ " + appFolder + " に移動できませんでした。", *error};
    }
    return std::nullopt;
}

}  // namespace selvane
