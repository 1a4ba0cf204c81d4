#pragma once

class qelValue;

// Windows-style paths of content and settings. The backslash is the separator; the forward
// slash is accepted as one too, since folders of the host arrive spelled with it.

// The directory, one separator and the name. The name alone when the directory is nil or empty,
// when the name is empty, or when the name is absolute (begins with a separator or has a colon as
// its second character). A directory that already ends with a separator gets no second one.
qelValue qelPathJoin(const qelValue& directory, const qelValue& name);
// The text after the last separator; the whole path when there is none or when the only one is
// the first character.
qelValue qelFileNamePart(const qelValue& path);
// The text before the last separator; empty when there is none or when it is the first character.
qelValue qelDirectoryPart(const qelValue& path);
// The text after the last "."; empty when there is none or when it is the first character.
qelValue qelExtension(const qelValue& path);
