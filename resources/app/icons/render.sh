#!/bin/sh
# Renders the frame icons from svg/ with ImageMagick: toolbar buttons at 32
# and 64 pixels (@2x), tree images as strips of 16-pixel cells in the order
# the frames index them.
set -eu
cd "$(dirname "$0")"

render() {  # svg, density, output
    convert -background none -density "$2" "svg/$1.svg" -strip "PNG32:$3"
}

for name in start_exam print new_paper delete back forward related_info return help about \
            submit targeted review mistakes redo_mistakes import_questions export_questions; do
    render "$name" 96 "$name.png"
    render "$name" 192 "$name@2x.png"
done

strip() {  # output, cells...
    out=$1
    shift
    cells=""
    for cell in "$@"; do
        render "$cell" 96 "/tmp/quillory-cell-$cell.png"
        cells="$cells /tmp/quillory-cell-$cell.png"
    done
    # shellcheck disable=SC2086
    convert -background none $cells +append +repage -strip "PNG32:$out"
    # shellcheck disable=SC2086
    rm -f $cells
}

strip tree_paper.png tree_paper tree_paper_open tree_section tree_section_open tree_question \
      tree_question_open tree_correct tree_partly tree_wrong
strip tree_knowledge.png tree_knowledge tree_knowledge_open
strip tree_analysis.png tree_chart tree_chart_open tree_day tree_record tree_record_open tree_mistakes tree_mistakes
