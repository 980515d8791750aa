#pragma once
// YOSOKEKKATHISWEEKNZ: the texts of the prediction web site that are ours to
// choose: the site and contact addresses, the brand notice, and the
// advertising and page-view tracking scripts with their identifiers. They
// are inert: the hosts lie under the reserved names ".example" and
// ".invalid", so a published page loads nothing from them. Change the site
// here and nowhere else.
#include <array>

namespace rw::publish::site {

// Scheme and host before every absolute link (the path follows directly).
inline constexpr char kAddress[] = "https://www.ravelmont.example";
inline constexpr char kContactMail[] = "info@ravelmont.example";
// The brand notice after "<br />" in the footer; the brand name links to "/".
inline constexpr char kBrandNotice[] = "Copyright &copy; <a href=\"/\">ravelmont</a> All Rights Reserved.";

// The advertising service's client script, one unit: publisher and slot
// identifiers, the address of its display script (path /pagead/show_ads.js).
inline constexpr char kAdPublisher[] = "ad_client = \"pub-0000000000000000\";";
inline constexpr char kAdSideSlot[] = "ad_slot = \"0000000001\";";
inline constexpr char kAdMainSlot[] = "ad_slot = \"0000000002\";";
inline constexpr char kAdWidth[] = "ad_width = ";    // followed by the width and ";"
inline constexpr char kAdHeight[] = "ad_height = ";  // followed by the height and ";"
inline constexpr char kAdScriptSource[] = "src=\"https://ads.ravelmont.invalid/pagead/show_ads.js\">";

// The page-view tracking code: its comment line, the line that chooses the
// service's address by the page's protocol, the line that loads its script,
// and the line that creates the tracker with the site's identifier.
inline constexpr char kTrackingComment[] = "<!-- ravelmont page-view tracking -->";
inline constexpr char kTrackingHost[] =
    "var pvHost = ((\"https:\" == document.location.protocol) ? \"https://ssl.pv.ravelmont.invalid/\" : "
    "\"http://www.pv.ravelmont.invalid/\");";
inline constexpr char kTrackingLoad[] =
    "document.write(unescape(\"%3Cscript src='\" + pvHost + \"pv.js' type='text/javascript'%3E%3C/script%3E\"));";
inline constexpr char kTrackingTracker[] = "var pageTracker = _pv._getTracker(\"PV-0000000-1\");";

}  // namespace rw::publish::site
