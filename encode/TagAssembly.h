#pragma once
// Which ID3 fields a file gets, from its path, from the tag templates or
// from its source comments, and which ID3 versions the library writes.

#include <string>
#include <vector>

#include <lame/lame.h>

#include "input/CommentList.h"
#include "job/OutputNaming.h"
#include "settings/Settings.h"

enum class TagSource { None, Path, Templates, Comments };

// AutoTag on: TagMode Custom -> templates, else path. AutoTag off: TagMode
// Comments -> comments, else none. (The job asks for comments when scaling is on.)
TagSource ChooseTagSource(const Settings& options);

enum class TagFrame { Title, Artist, Album, Year, Track, Genre };

// One library setter call. `Latin1` is what the plain setter receives (and
// the ID3v1 tag keeps); `Utf8` is the whole text, for an ID3v2 frame when
// Latin-1 cannot hold it.
struct TagField {
    TagFrame Frame;
    std::string Latin1;
    std::string Utf8;

    bool operator==(const TagField&) const = default;
};

struct ReplayGains {
    double Track = 0.0;  // dB
    double Album = 0.0;  // dB
};

// Artist = grand-parent, album = parent, title = base name, always all three.
// Names reach the tags through NameToUtf8.
std::vector<TagField> TagFieldsFromPath(const InputPathParts& parts);

// %1 base name, %2 parent, %3 grand-parent; any other '%' is dropped.
std::string ExpandTagTemplate(const std::string& pattern, const InputPathParts& parts);
std::vector<TagField> TagFieldsFromTemplates(const Settings& options, const InputPathParts& parts);

// Takes every comment of `comments` (leaving it empty). Tag keys become fields
// when `wantFields`; gain keys set `gains` when `wantGains`.
std::vector<TagField> TagFieldsFromComments(CommentList& comments, const Settings& options, bool wantFields,
                                            bool wantGains, ReplayGains& gains);

// Makes the setter calls in order. With `allowUtf16Frames`, a text that
// Latin-1 cannot hold is also given whole as a UTF-16 ID3v2 frame.
void ApplyTagFields(lame_t context, const std::vector<TagField>& fields, bool allowUtf16Frames);

// The tag step of one file: chooses the source, sets the fields, reads the
// gains (from the comments whenever `ScaleMode` is above 0, whatever the
// source) and leaves `comments` empty.
ReplayGains AssembleTags(lame_t context, const Settings& options, const InputPathParts& parts,
                         CommentList& comments);

// Whether the file may get an ID3v2 tag: not with "ID3v1 only".
bool MayWriteId3v2(const Settings& options);

// With TagMode 1 or 2, id3Tag 1 adds an ID3v2 tag, 2 writes ID3v1 only,
// 3 ID3v2 only; anything else leaves the library's default, ID3v2 only when
// a field needs it. A picture needs it: `carriesPicture` then adds one.
void ApplyId3Version(lame_t context, const Settings& options, bool carriesPicture = false);
