#pragma once

// The lists the ledger table can show. The numbers are the ones stored in the settings
// ("MVBankbookTableViewKind").
enum class ListMode : int {
    Activity = 0, // every entry of the ledger
    Monthly = 1,  // the entries of one month
    Search = 2,   // the entries that hold a keyword
};
