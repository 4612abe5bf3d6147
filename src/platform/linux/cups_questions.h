// The questions to the CUPS scheduler, as the helper pellox-cups asks them
// in a process of its own (the program bounds that process: see
// CupsPrinterSystem). Each question has its own connection to the server
// that the environment names (CUPS_SERVER, client.conf).
#pragma once

#include <string>

#include "platform/linux/cups_answer.h"

namespace pellox {

// The destinations of the user's CUPS view (lpoptions instances included),
// in the order CUPS gives them. Error: EHOSTDOWN when no connection could
// be made within `connectTimeoutMs`; the connection's errno when the
// scheduler gave no answer.
CupsAnswer ListCupsDestinations(int connectTimeoutMs);

// Makes the destination `name` (no instance) the user's default, as
// `lpoptions -d` does. Error: as for the list; ENODEV when the scheduler
// has no such destination; errno (else EIO) when the default could not be
// stored. No destinations in the answer.
CupsAnswer MakeCupsDefault(const std::string& name, int connectTimeoutMs);

}  // namespace pellox
