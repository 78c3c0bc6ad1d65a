// The GUIDs of a DXF file's HEADER ($FINGERPRINTGUID, $VERSIONGUID), made
// from the drawing rather than fixed or random, so that converting one
// drawing twice gives the same file and two drawings never share them:
// - the fingerprint GUID names the drawing: it comes from the digest of the
//   source file's bytes alone, so every conversion of one drawing has it;
// - the version GUID names this conversion of it: it comes from the same
//   digest, the conversion settings, the DXF version and the output space.
// The two are made with different seeds and so differ from each other.
#pragma once

#include <string>

#include "common/content_digest.h"
#include "common/conversion_settings.h"

namespace parvex {

struct DxfDrawingGuids {
  std::string fingerprint;
  std::string version;
};

// A digest as a GUID text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in
// upper-case hexadecimal, marked as a name-derived GUID (version 8, the
// standard variant).
std::string FormatGuid(const Digest128& d);

// The digest of every conversion setting.
Digest128 SettingsDigest(const ConversionSettings& settings);

// The GUIDs of a file written from the source digest `source` under the
// settings digest `settings`, in version `ver` with output space `space`.
DxfDrawingGuids DrawingGuids(const Digest128& source, const Digest128& settings, DxfVersion ver,
                             OutputSpace space);

}  // namespace parvex
