#include "crypto/SecretMemory.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <string.h>   // explicit_bzero
#include <sys/prctl.h>
#include <sys/resource.h>
#endif

#include <algorithm>

namespace keystead {

void DisableCoreDumps() noexcept
{
#ifdef _WIN32
    // No error report, and so no crash dump sent or kept by the system's error reporting.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
#else
    // Not dumpable: no core file even where the limit is raised again, and /proc/<pid>/mem is
    // closed to the user's other processes.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    // Only the soft limit: the hard one passes on to every program started from here (a link,
    // the browser), which must keep the right to raise its own.
    rlimit core{};
    if (::getrlimit(RLIMIT_CORE, &core) == 0) {
        core.rlim_cur = 0;
        ::setrlimit(RLIMIT_CORE, &core);
    }
#endif
}

void WipeBytes(void* data, std::size_t size) noexcept
{
    if (size == 0)
        return;
#ifdef _WIN32
    ::SecureZeroMemory(data, size);
#else
    ::explicit_bzero(data, size);
#endif
}

void WipeText(std::string& text) noexcept
{
    // The whole buffer, not just the current length: a shortened text leaves its tail there.
    WipeBytes(text.data(), text.capacity());
    text.clear();
}

void AppendSecret(std::string& text, std::string_view more)
{
    if (text.size() + more.size() > text.capacity()) {
        std::string larger;
        larger.reserve(std::max(2 * text.capacity(), text.size() + more.size()));
        larger = text;
        WipeText(text);
        text.swap(larger);
    }
    text += more;
}

}  // namespace keystead
