#pragma once

#include "catalogue/CatalogueSignature.h"

#include <string>
#include <vector>

namespace catalogue {

// The keys whose signatures the catalogue must carry: those built in
// (PANELUP_SITE_KEYS) unless replaced. None: catalogues are not checked.
const std::vector<SiteKey>& siteKeys();

// The demo program trusts its own site's key, tests their own; a key that
// does not parse is dropped, and an empty list (nothing usable) checks
// nothing, so false tells that a key was dropped.
bool setSiteKeys(const std::vector<std::string>& base64Keys);

} // namespace catalogue
