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

/// Where the program ships the sample templates, for a program in
/// programFolder (its bin folder): programFolder/../share/lingorel/sample.
std::string SampleTemplatesFor(const std::string& programFolder);
/// The user's copy of the sample: $XDG_DATA_HOME/lingorel/sample, else
/// $HOME/.local/share/lingorel/sample; empty when neither is set.
std::string UserSampleFolder();
