#pragma once

namespace zorv {

// While TZ is unset the C library looks at /etc/localtime again on every local-time conversion, and the zip
// reader converts each member's date as it opens an archive: one file-system call per member, half the cost of
// opening an archive of 50,000 pictures. Naming that same zone file in TZ keeps the zone and drops the calls.
// Called once at the start of main, before any thread; a TZ the user set is left as it is.
void KeepLocalTimeZone();

}  // namespace zorv
