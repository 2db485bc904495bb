#pragma once
// Result codes of the vx_ functions. 0 is success; a failed system call
// returns VX_ERR_SYSTEM + errno.

enum {
    VX_OK = 0,
    VX_ERR_INVALID_ARG = 70002,
    VX_ERR_BUFFER_TOO_SMALL = 70003,
    VX_ERR_NO_MEMORY = 70005,
    VX_ERR_TIMEOUT = 70011,
    VX_ERR_SYSTEM = 80000,
};
