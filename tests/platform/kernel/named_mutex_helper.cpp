// Second process for the named-mutex tests.
//   named_mutex_helper check NAME   exit 183 when NAME is held elsewhere, else 0
//   named_mutex_helper hold NAME    create it, print "held", keep it until
//                                   standard input closes
#include "platform/kernel/synch.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    HANDLE h = CreateMutex(nullptr, TRUE, argv[2]);
    DWORD err = GetLastError();
    if (!h)
        return 3;
    if (strcmp(argv[1], "hold") == 0) {
        printf("held %lu\n", (unsigned long)err);
        fflush(stdout);
        char c;
        while (read(0, &c, 1) > 0) {}
    }
    CloseHandle(h);
    return err == ERROR_ALREADY_EXISTS ? 183 : 0;
}
