#include "compose_cli/PrintSheetHelper.h"

#include "base/ExceptionClassName.h"
#include "base/SysError.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Closes the file actions of posix_spawn on every path.
class TSpawnActions {
public:
    TSpawnActions() { posix_spawn_file_actions_init(&FActions); }
    ~TSpawnActions() { posix_spawn_file_actions_destroy(&FActions); }
    TSpawnActions(const TSpawnActions&) = delete;
    TSpawnActions& operator=(const TSpawnActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &FActions; }

private:
    posix_spawn_file_actions_t FActions;
};

struct TFileCloser {
    void operator()(std::FILE* File) const noexcept { std::fclose(File); }
};

std::string LayoutArgument(const std::optional<TInlayLayout>& Layout) {
    if (!Layout)
        return "auto";
    switch (*Layout) {
    case TInlayLayout::BackAndFront:
        return "back-and-front";
    case TInlayLayout::TrayCard:
        return "tray-card";
    case TInlayLayout::Back:
        break;
    }
    return "back";
}

// The shortest text that reads back as the same number.
std::string NumberText(double Value) {
    char Text[32];
    const auto Result = std::to_chars(Text, Text + sizeof Text, Value);
    return std::string(Text, Result.ptr);
}

std::string PaperArgument(const TPaper& Paper) {
    return Paper == LetterPaper() ? "letter" : "a4";
}

std::string ReadAll(std::FILE* File) {
    std::string Text;
    std::rewind(File);
    char Buffer[4096];
    std::size_t Count = 0;
    while ((Count = std::fread(Buffer, 1, sizeof Buffer, File)) > 0)
        Text.append(Buffer, Count);
    return Text;
}

} // namespace

std::vector<std::string> PrintSheetHelperArguments(const std::vector<std::string>& Inputs,
                                                   const std::string& Output,
                                                   const TPrintSheetJob& Job) {
    std::vector<std::string> Arguments{
        "--layout", LayoutArgument(Job.Layout), "--spine", std::to_string(Job.Spine),
        "--paper",  PaperArgument(Job.Paper),   "--bleed", NumberText(Job.Bleed)};
    if (Job.FindSpine)
        Arguments.push_back("--find-spine");
    if (Job.Cut) {
        Arguments.push_back("--cut");
        Arguments.push_back(std::to_string(Job.Cut->Left) + ":" + std::to_string(Job.Cut->Right));
    }
    if (Job.Scan.Rotate != 0)
        Arguments.insert(Arguments.end(), {"--rotate", std::to_string(Job.Scan.Rotate)});
    if (Job.Scan.Straighten)
        Arguments.push_back("--straighten");
    if (Job.PerSheet != 1)
        Arguments.insert(Arguments.end(), {"--per-sheet", std::to_string(Job.PerSheet)});
    if (!Job.Front.empty())
        Arguments.insert(Arguments.end(), {"--front", Job.Front});
    if (Job.FrontFromCover)
        Arguments.push_back("--front-from-cover");
    if (!Job.Caption)
        Arguments.push_back("--no-caption");
    Arguments.push_back("--");
    Arguments.insert(Arguments.end(), Inputs.begin(), Inputs.end());
    Arguments.push_back(Output);
    return Arguments;
}

std::string FindPrintSheetHelper() {
    std::error_code Error;
    const std::filesystem::path Program = std::filesystem::read_symlink("/proc/self/exe", Error);
    const std::filesystem::path Folder = Program.parent_path();
    const std::filesystem::path Candidates[] = {
        Folder / PrintSheetHelperName,
        Folder / TRAYVANE_LIBEXEC_FROM_BIN / PrintSheetHelperName,
    };
    for (const auto& Candidate : Candidates)
        if (::access(Candidate.c_str(), X_OK) == 0)
            return Candidate.lexically_normal().string();
    throw Exception(std::string("Cannot write a PDF: its writer ") + PrintSheetHelperName +
                    " is not installed beside \"" + Program.string() + "\"");
}

TSheetReport RunPrintSheetHelper(const std::vector<std::string>& Inputs, const std::string& Output,
                                 const TPrintSheetJob& Job) {
    const std::string Helper = FindPrintSheetHelper();
    std::vector<std::string> Words{Helper};
    for (std::string& Word : PrintSheetHelperArguments(Inputs, Output, Job))
        Words.push_back(std::move(Word));
    std::vector<char*> Argv;
    for (std::string& Word : Words)
        Argv.push_back(Word.data());
    Argv.push_back(nullptr);

    // The report arrives in an unnamed temporary file, read once the writer has ended: no pipe
    // to keep drained while waiting.
    const std::unique_ptr<std::FILE, TFileCloser> Report(std::tmpfile());
    if (!Report)
        throw Exception("Cannot start the PDF writer. " + SysErrorMessage(errno));
    // Standard input and output stay this program's: a PDF written to "/dev/stdout" must arrive
    // where this program's output goes.
    TSpawnActions Actions;
    posix_spawn_file_actions_adddup2(Actions.Get(), ::fileno(Report.get()), 2);
    std::vector<std::string> Variables{std::string(PrintSheetParentVariable) + "=" +
                                       std::to_string(::getpid())};
    for (char** Entry = environ; *Entry; ++Entry)
        if (std::string_view(*Entry).substr(0, std::strlen(PrintSheetParentVariable) + 1) !=
            std::string(PrintSheetParentVariable) + "=")
            Variables.emplace_back(*Entry);
    std::vector<char*> Environment;
    for (std::string& Variable : Variables)
        Environment.push_back(Variable.data());
    Environment.push_back(nullptr);
    pid_t Child = 0;
    if (const int Error = posix_spawn(&Child, Helper.c_str(), Actions.Get(), nullptr, Argv.data(),
                                      Environment.data()))
        throw Exception("Cannot start the PDF writer \"" + Helper + "\". " +
                        SysErrorMessage(Error));
    int Status = 0;
    while (::waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(Status) && (WEXITSTATUS(Status) == 0 || WEXITSTATUS(Status) == 1)) {
        TSheetReport Records = ParseSheetReport(ReadAll(Report.get()));
        // A writer that failed says why; one that said nothing ended some other way.
        if (WEXITSTATUS(Status) == 0 || SheetReportFailed(Records))
            return Records;
    }
    throw Exception("The PDF writer \"" + Helper + "\" failed " +
                    (WIFSIGNALED(Status)
                         ? "with signal " + std::to_string(WTERMSIG(Status))
                         : "with exit status " + std::to_string(WEXITSTATUS(Status))));
}

TSheetRecord FailureRecord(const std::string& File, const std::exception& Error) {
    return TSheetRecord{TSheetRecord::TKind::Failed, File, ExceptionClassName(Error), Error.what()};
}
