#pragma once
// The maker's addresses, fixed at build time (CMake: SKRIBON_WEBHOST, SKRIBON_HOMEPAGE,
// SKRIBON_KONTAKT).
#include <QString>

namespace Plattform {

// Host of the maker's web server (no scheme): version file, history and home pages.
QString HerstellerServer();
// The maker's home page (a full https address).
QString HerstellerHomepage();
// The maker's contact mail address.
QString HerstellerKontakt();

}  // namespace Plattform
