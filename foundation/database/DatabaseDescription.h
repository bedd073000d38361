#pragma once

// What identifies a database to open. An empty string means that the field is not given.

#include <string>

namespace database {

struct DatabaseDescription {
    std::u16string title; // shown instead of the path; set only from the command line
    std::u16string path;
    std::u16string systemDatabase;
    std::u16string databasePassword;
    std::u16string userName;
    std::u16string userPassword;

    // The title when it is not empty, else the path.
    const std::u16string& displayName() const { return title.empty() ? path : title; }

    // Sets the five connection fields and empties the title.
    void setConnectionFields(std::u16string path, std::u16string systemDatabase,
                             std::u16string databasePassword, std::u16string userName,
                             std::u16string userPassword);
};

} // namespace database
