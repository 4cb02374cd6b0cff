#pragma once

#include <string>

/// Makes the user's own copy of the sample: the script and its dictionary,
/// from the templates the program ships (sample.rc, sample.dic and the
/// sample.fil.in, sample.ent.in and sample.nir.in with "@SAMPLE_DIR@" where
/// the copy's folder goes), into folder. The dictionary's paths then name
/// the copy and its "translated" folder, and the script's recorded stamp is
/// the copy's own, so the copy opens unchanged. An existing copy is left as
/// it is. False (error says why) when something could not be written;
/// nothing is then left half made.
bool PlaceSample(const std::string& templates, const std::string& folder, std::string& error);
