#pragma once
// Service and file utilities shared by the package, the backup and the host.
