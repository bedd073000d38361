#include "foundation/database/DatabaseDescription.h"

namespace database {

void DatabaseDescription::setConnectionFields(std::u16string path, std::u16string systemDatabase,
                                              std::u16string databasePassword,
                                              std::u16string userName,
                                              std::u16string userPassword) {
    this->path = std::move(path);
    this->systemDatabase = std::move(systemDatabase);
    this->databasePassword = std::move(databasePassword);
    this->userName = std::move(userName);
    this->userPassword = std::move(userPassword);
    title.clear();
}

} // namespace database
