// The scripted TWAIN sessions of the session player, and the host that plays them: an
// application together with its data-source manager, calling a data source's DS_Entry.
#ifndef TWAINMON_SESSIONPLAYER_SESSIONS_H
#define TWAINMON_SESSIONPLAYER_SESSIONS_H

#include <cstddef>
#include <string>
#include <vector>

#include "TwainTypes.h"

namespace player {

typedef TW_UINT16 (*DSEntryProc)(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                                 TW_MEMREF pData);

class CHost {
public:
    CHost(DSEntryProc pfnEntry, bool bVerbose);

    // One call through DS_Entry with the application's identity as origin; with -v it prints
    // one line for it.
    TW_UINT16 Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData);

    // The identity the manager keeps for the source it opens.
    TW_IDENTITY& Source() { return m_source; }
    int CallCount() const { return m_nCalls; }

private:
    DSEntryProc m_pfnEntry;
    bool m_bVerbose;
    int m_nCalls = 0;
    TW_IDENTITY m_application;
    TW_IDENTITY m_source;
};

// The sessions by name, with a line of description each.
struct SessionInfo {
    const char* name;
    const char* description;
};
const std::vector<SessionInfo>& Sessions();

// Plays the named session; false when there is no such session.
bool PlaySession(const std::string& name, CHost& host);

}  // namespace player

#endif  // TWAINMON_SESSIONPLAYER_SESSIONS_H
