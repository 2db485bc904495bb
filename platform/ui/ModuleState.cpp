#include "platform/ui/ModuleState.h"

#include "platform/ui/CWinApp.h"

namespace {
thread_local AFX_MODULE_STATE* t_state = nullptr;
}

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : m_pPrevious(t_state)
{
    t_state = state;
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2()
{
    t_state = m_pPrevious;
}

AFX_MODULE_STATE* AfxGetModuleState()
{
    return t_state;
}

AfxLibraryStart::AfxLibraryStart(AFX_MODULE_STATE* state)
{
    if (!state || !state->m_pCurrentWinApp)
        return;
    AFX_MANAGE_STATE(state);
    state->m_pCurrentWinApp->InitInstance();
}
