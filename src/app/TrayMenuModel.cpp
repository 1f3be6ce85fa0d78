#include "app/TrayMenuModel.h"

#include "client/MenuIds.h"

namespace vorlan::app {

std::vector<TrayMenuItem> TrayMenuItems(bool isAdmin) {
    namespace menu = client::menu;
    std::vector<TrayMenuItem> items;
    if (isAdmin) {
        items.push_back({menu::kShowConnections, "Show connections"});
        items.push_back({menu::kShowBanList, "Show ban list"});
        items.push_back({});
    }
    items.push_back({menu::kAbout, "About Vorlan"});
    items.push_back({});
    items.push_back({menu::kShowVorlan, "Show Vorlan", true});
    items.push_back({});
    return items;
}

}  // namespace vorlan::app
