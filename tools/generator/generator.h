#pragma once
// Synthetic registers for trying the program out and for measuring it: plausible Korean members
// with their family, visit and study rows, the same register for the same seed.
#include "platform/database.h"

struct GeneratedCounts {
    int members = 0;
    int family = 0;
    int visits = 0;
    int studies = 0;
    int zipRows = 0;      // postal rows added (0 when the register already had some)
    int lookupRows = 0;   // lookup-list rows added to empty lists
};

// The lookup lists a new register starts with.
void FillStartingLists(Database &db);

// Adds members to a register in one transaction. Empty lookup lists and an empty postal table
// are filled first; existing rows are kept and drawn from, existing member numbers are never
// reused. "This year" of the birthday columns is Clock::now()'s year.
GeneratedCounts GenerateRegister(Database &db, int members, quint32 seed);
