#include "client/ui/EditProfileDialog.h"

#include "client/ClientSession.h"
#include "client/ProfileEdit.h"
#include "client/ui/ClientDialogIds.h"

namespace vorlan::client {
namespace {

struct ProfileField {
    int id;
    std::string storage::Profile::*text;
    std::size_t maxLength;
};

// In profile order.
const std::array<ProfileField, 8> kFields{{
    {IDC_PROFILE_NAME, &storage::Profile::name, kNameFieldLimit},
    {IDC_PROFILE_EMAIL, &storage::Profile::email, kProfileFieldLimit},
    {IDC_PROFILE_COUNTRY, &storage::Profile::country, kProfileFieldLimit},
    {IDC_PROFILE_HOME_PAGE, &storage::Profile::homePage, kProfileFieldLimit},
    {IDC_PROFILE_INTERESTS, &storage::Profile::interests, kProfileFieldLimit},
    {IDC_PROFILE_GENDER, &storage::Profile::gender, kProfileFieldLimit},
    {IDC_PROFILE_BIRTHDAY, &storage::Profile::birthday, kProfileFieldLimit},
    {IDC_PROFILE_PICTURE_URL, &storage::Profile::pictureUrl, kProfileFieldLimit},
}};

}  // namespace

EditProfileDialog::EditProfileDialog(HINSTANCE instance, ClientSession& session)
    : ModelessDialog(instance, IDD_EDIT_PROFILE), session_(session), menuOwner_(session.options()) {}

bool EditProfileDialog::OnInitDialog() {
    menuOwner_.SetWindow(handle());
    const storage::Colors& colours = session_.colors();
    const storage::Profile& profile = session_.profile();
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        fields_[i].Attach(GetDlgItem(handle(), kFields[i].id), menuOwner_, conversation::ChatTextColoursFrom(colours));
        fields_[i].SetText(profile.*kFields[i].text);
        LimitField(i);
    }
    return true;
}

bool EditProfileDialog::OnCommand(int id, int notification) {
    if (id == IDCANCEL) return false;
    if (notification == EN_CHANGE) {
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            if (kFields[i].id == id) LimitField(i);
        }
        return true;
    }
    if (notification != BN_CLICKED || menuOwner_.HandleCommand(id)) return true;
    if (id == IDC_PROFILE_UPDATE) {
        Update();
    } else if (id == IDC_PROFILE_CANCEL) {
        Close();
    }
    return true;
}

void EditProfileDialog::LimitField(std::size_t index) {
    fields_[index].ApplyInputLimit(LimitDialogField(fields_[index].Text(), kFields[index].maxLength));
}

void EditProfileDialog::Update() {
    storage::Profile edited;
    for (std::size_t i = 0; i < kFieldCount; ++i) edited.*kFields[i].text = fields_[i].Text();
    UpdateProfile(session_, edited);
    Close();
}

}  // namespace vorlan::client
