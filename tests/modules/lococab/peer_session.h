#pragma once
// lococab_peer in its line mode: a second process that keeps its own copy of the library (and
// so the shared block) while a test asks it one command at a time.
#include <windows.h>

#include <string>
#include <vector>

namespace lococabtest {

class PeerSession {
 public:
  PeerSession() = default;
  ~PeerSession() { Stop(); }
  PeerSession(const PeerSession&) = delete;
  PeerSession& operator=(const PeerSession&) = delete;

  // Starts peerExe with "-"; false when it could not be started.
  bool Start(const std::string& peerExe) {
    Stop();
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &toChild_, &inherit, 0)) return false;
    if (!CreatePipe(&fromChild_, &childOut, &inherit, 0)) {
      CloseHandle(childIn);
      return false;
    }
    SetHandleInformation(toChild_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromChild_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = childIn;
    si.hStdOutput = childOut;
    si.hStdError = childOut;
    std::string line = "\"" + peerExe + "\" -";
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    const BOOL started =
        CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi_);
    CloseHandle(childIn);
    CloseHandle(childOut);
    return started != 0;
  }

  // The peer's answer line to the command; "<no answer>" when none came within timeoutMs.
  std::string Ask(const std::string& command, DWORD timeoutMs = 15000) {
    if (!pi_.hProcess) return "<not started>";
    const std::string line = command + "\n";
    DWORD written = 0;
    if (!WriteFile(toChild_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
      return "<peer gone>";
    const DWORD start = GetTickCount();
    for (;;) {
      const std::size_t end = pending_.find('\n');
      if (end != std::string::npos) {
        std::string answer = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (!answer.empty() && answer.back() == '\r') answer.pop_back();
        return answer;
      }
      DWORD available = 0;
      if (!PeekNamedPipe(fromChild_, nullptr, 0, nullptr, &available, nullptr))
        return "<peer gone>";
      if (available > 0) {
        char buffer[256];
        DWORD got = 0;
        if (!ReadFile(fromChild_, buffer, available < sizeof buffer ? available : sizeof buffer,
                      &got, nullptr))
          return "<peer gone>";
        pending_.append(buffer, got);
        continue;
      }
      if (GetTickCount() - start > timeoutMs) return "<no answer>";
      Sleep(1);
    }
  }

  // Ends the peer's input and waits for it to end (it is killed when it does not).
  void Stop() {
    if (toChild_) CloseHandle(toChild_);
    toChild_ = nullptr;
    if (pi_.hProcess) {
      if (WaitForSingleObject(pi_.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 5000);
      }
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
    pi_ = {};
    if (fromChild_) CloseHandle(fromChild_);
    fromChild_ = nullptr;
    pending_.clear();
  }

 private:
  PROCESS_INFORMATION pi_{};
  HANDLE toChild_ = nullptr;
  HANDLE fromChild_ = nullptr;
  std::string pending_;
};

}  // namespace lococabtest
