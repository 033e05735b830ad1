// The parts of a project file's XML tree that the reader walks, built by one pass of the XML
// parser over the bytes. Text is gathered in place as the parser delivers it, so time grows
// linearly with the file however its text is split into lines, references and sections.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One node as the toolkit's XML document would hold it: text that is only white space between
// elements is dropped; comments, processing instructions and CDATA sections are nodes.
struct OutlineNode {
    // The value of the attribute `name`; empty when there is none.
    std::string_view Attribute(std::string_view name) const;

    bool element = false; // false for text, CDATA, comments and processing instructions
    std::string name;     // the element's name, UTF-8
    std::string content;  // the element's first text or CDATA child, UTF-8
    // Recorded only where the reader looks: the root's first four children, all children of
    // the root's third child, and the first three of its second child.
    std::vector<OutlineNode> children;
    // Name and value of each attribute, UTF-8; recorded only for the root's fourth child and the
    // children of its third.
    std::vector<std::pair<std::string, std::string>> attributes;
};

class ProjectOutline {
public:
    // `bytes`: the file's length, from which the list of paths is sized before it fills.
    explicit ProjectOutline(size_t bytes);
    ~ProjectOutline();
    ProjectOutline(const ProjectOutline&) = delete;
    ProjectOutline& operator=(const ProjectOutline&) = delete;

    // Parses the next bytes of the file; `last` for the final ones. False on an XML error.
    bool Parse(const char* data, size_t size, bool last);
    // The parser's description of the error and its line.
    std::string Error() const;
    // The root element, whose text the reader takes; only valid after the last bytes parsed
    // without error.
    OutlineNode& Root() { return m_root; }

private:
    struct Open;
    static void StartElement(void* self, const char* name, const char** attributes);
    static void EndElement(void* self, const char* name);
    static void Text(void* self, const char* text, int length);
    static void StartSection(void* self);
    static void EndSection(void* self);
    static void Comment(void* self, const char* text);
    static void Instruction(void* self, const char* target, const char* data);
    // A new child node of the innermost open element; the new record or null.
    OutlineNode* AddChild(bool element);

    void* m_parser;
    OutlineNode m_root;
    bool m_hasRoot = false;
    bool m_tooDeep = false;
    size_t m_bytes;
    std::vector<Open> m_open;
};
