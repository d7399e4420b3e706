#pragma once

// Runs another program for a test and catches what it writes: the batch commands under test and
// independent readers (exiftool, pdftoppm) that check their files.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

struct TProgramRun {
    int ExitCode = -1; // 128 + the signal for a program ended by one; -1 when it did not start
    std::string Out;
    std::string Err;
};

// Runs Argv (Argv[0] looked up on PATH) with the environment of the test, Environment's
// "NAME=value" entries added or replaced, and waits for it.
inline TProgramRun RunProgram(const std::vector<std::string>& Argv,
                              const std::vector<std::string>& Environment = {}) {
    std::vector<std::string> Words = Argv;
    std::vector<char*> Args;
    for (auto& W : Words)
        Args.push_back(W.data());
    Args.push_back(nullptr);

    std::vector<std::string> Variables;
    for (char** Entry = environ; *Entry; ++Entry) {
        const std::string Text = *Entry;
        bool Replaced = false;
        for (const std::string& Own : Environment)
            Replaced |= Text.substr(0, Text.find('=') + 1) == Own.substr(0, Own.find('=') + 1);
        if (!Replaced)
            Variables.push_back(Text);
    }
    Variables.insert(Variables.end(), Environment.begin(), Environment.end());
    std::vector<char*> Env;
    for (auto& V : Variables)
        Env.push_back(V.data());
    Env.push_back(nullptr);

    char OutName[] = "/tmp/trayvane-run-out-XXXXXX";
    char ErrName[] = "/tmp/trayvane-run-err-XXXXXX";
    const int OutFile = ::mkstemp(OutName);
    const int ErrFile = ::mkstemp(ErrName);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&Actions, OutFile, 1);
    posix_spawn_file_actions_adddup2(&Actions, ErrFile, 2);
    TProgramRun Run;
    pid_t Child = 0;
    if (::posix_spawnp(&Child, Args[0], &Actions, nullptr, Args.data(), Env.data()) == 0) {
        int Status = 0;
        ::waitpid(Child, &Status, 0);
        Run.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
    }
    posix_spawn_file_actions_destroy(&Actions);
    ::close(OutFile);
    ::close(ErrFile);
    const auto Slurp = [](const char* Name) {
        std::ifstream In(Name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    };
    Run.Out = Slurp(OutName);
    Run.Err = Slurp(ErrName);
    std::remove(OutName);
    std::remove(ErrName);
    return Run;
}
