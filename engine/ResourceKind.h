#pragma once

/// Kind number of a resource, as it appears in resource keys, in the ".nir"
/// file and in the resource tree.
enum ResourceKind : int
{
    KindStringTable = 3,
    KindMenu = 4,
    KindDialog = 5, // DIALOG and DIALOGEX; DLGINIT combo strings count as their dialog
    KindNone = 6,
};
