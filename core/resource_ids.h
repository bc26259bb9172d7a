// The ids of the setup's resources, shared by the resource script, the code and the tests.
#pragma once

#define GLS_ICON_ID 101
#define GLS_LICENSE_ID 102
// The payload archive's resource goes by a name, written bare in the script.
#define GLS_PAYLOAD_NAME GLPAYLOAD
// The type of both data resources: RT_RCDATA, the script's RCDATA.
#define GLS_DATA_TYPE 10

#ifndef RC_INVOKED
#define GLS_NAME_TEXT_(name) #name
#define GLS_NAME_TEXT(name) GLS_NAME_TEXT_(name)

namespace gls {

inline constexpr unsigned short kIconId = GLS_ICON_ID;
inline constexpr unsigned short kLicenseId = GLS_LICENSE_ID;
inline constexpr wchar_t kPayloadResourceName[] = L"" GLS_NAME_TEXT(GLS_PAYLOAD_NAME);
inline constexpr unsigned short kDataResourceType = GLS_DATA_TYPE;

} // namespace gls
#endif
